// Resource and control numbers of the Win32 window, shared by the resource script and the code.
#pragma once

#define IDD_FRMVORNIK 100
#define IDI_IMAGE1 101
#define IDR_LAYOUT 102

#define IDC_LABEL1 1001
#define IDC_LABEL2 1002
#define IDC_TEXT1 1003
#define IDC_CHECK1 1004
#define IDC_CHECK2 1005
#define IDC_LABEL3 1006
#define IDC_CHECK3 1007
#define IDC_IMAGE1 1008
#define IDC_CMDBROWSE 1101
#define IDC_TARVEXBUTTON1 1102
#define IDC_CMDCHANGE 1103
