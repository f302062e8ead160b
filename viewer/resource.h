// Resource ids of the stand-in viewer.
#pragma once

#define IDD_FIELDS 100

#define IDC_FIELD_LIST 1000
