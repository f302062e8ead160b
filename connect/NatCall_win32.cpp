#include "connect/NatCall_win32.h"

// EBP keeps the caller's stack pointer across the call: both calling conventions preserve it,
// and whatever the callee popped, ESP is set back from it. The arguments are copied onto a
// 16-byte aligned area, which any compiler's code may assume.
asm(R"(
    .text
    .globl _CallKeepingStack
    .def _CallKeepingStack; .scl 2; .type 32; .endef
_CallKeepingStack:
    pushl %ebp
    movl %esp, %ebp
    pushl %esi
    pushl %edi
    movl 16(%ebp), %ecx
    movl 12(%ebp), %esi
    leal 0(,%ecx,4), %eax
    subl %eax, %esp
    andl $-16, %esp
    movl %esp, %edi
    cld
    rep movsl
    call *8(%ebp)
    leal -8(%ebp), %esp
    popl %edi
    popl %esi
    popl %ebp
    ret
)");
