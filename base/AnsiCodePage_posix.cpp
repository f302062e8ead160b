#include "base/AnsiCodePage.h"

const AnsiCodePage& SystemCodePage() {
    static const AnsiCodePage singleByte;
    return singleByte;
}
