// Resource numbers of the Windows program: dialog templates, menu, accelerators, images and the
// controls that the code addresses. Included by the resource script and by the sources.
#pragma once

// Dialog templates.
#define IDD_MAIN 1001
#define IDD_LANGUAGES 1002
#define IDD_PROGRESS 1003
#define IDD_LANGUAGE_FORM 1004
#define IDD_FIND 1006
#define IDD_ABOUT 1007
#define IDD_NAME_QUESTION 1008
#define IDD_OPTIONS 1009
#define IDD_NAME_ENTRY 1010
#define IDD_BUSY_ADDING 1011
#define IDD_BUSY_SAVING 1012
#define IDD_VERSION_WAIT 1013

#define IDR_MENU 2001
#define IDR_ACCELERATORS 3001

// Images.
#define IDI_KORDEL 8001
#define IDI_ROW_SPACER 8002
#define IDI_CLASS 8004
#define IDB_TOOLBAR 8005

// Main window controls.
#define IDC_PROJECT_LABEL 4001
#define IDC_COUNT 4002
#define IDC_STATUS 4003
#define IDC_PROJECT_NAME 4004
#define IDC_TOTALS_GROUP 4005
#define IDC_ADD 4006
#define IDC_REMOVE 4007
#define IDC_CODE_LABEL 4008
#define IDC_CODE_TOTAL 4009
#define IDC_COMMENT_LABEL 4010
#define IDC_LIST 4011
#define IDC_COMMENT_TOTAL 4012
#define IDC_MIXED_LABEL 4013
#define IDC_MIXED_TOTAL 4014
#define IDC_BLANK_LABEL 4015
#define IDC_BLANK_TOTAL 4016
#define IDC_LINES_LABEL 4017
#define IDC_LINES_TOTAL 4018
#define IDC_REBAR 4019
#define IDC_TOOLBAR 4020

// Controls of the small dialogs (each dialog numbers its own).
#define IDC_LABEL 4001
#define IDC_PROGRESS_BAR 4002
#define IDC_PROGRESS_CANCEL 4004
#define IDC_PROGRESS_DETAIL 4005
#define IDC_NAME_YES 4004
#define IDC_NAME_NO 4002
#define IDC_NAME_EDIT 4003
#define IDC_NAME_OK 4004
#define IDC_NAME_CANCEL 4002
#define IDC_ABOUT_FRAME 4002
#define IDC_ABOUT_TITLE 4003
#define IDC_ABOUT_OK 77
#define IDC_FIND_EDIT 4002
#define IDC_FIND_OK 4003
#define IDC_FIND_CANCEL 4004
#define IDC_FIND_CASE 4005

// Options dialog.
#define IDC_OPT_GENERAL 4001
#define IDC_OPT_LANGUAGE 4010
#define IDC_OPT_DOTF_LABEL 4011
#define IDC_OPT_DOTF 4012
#define IDC_OPT_DOTF_TRAILER 4013
#define IDC_OPT_OK 76
#define IDC_OPT_TMAC 6007
#define IDC_OPT_DLS 6041
#define IDC_OPT_CBLIB 6042
#define IDC_OPT_LLP 6043
#define IDC_OPT_SPS 6044
#define IDC_OPT_PFPN 6045
#define IDC_OPT_ASPN 6046
#define IDC_OPT_SSPL 6047
#define IDC_OPT_ACPL 6048
#define IDC_OPT_SLC 6049

// User language list dialog and its form.
#define IDC_UD_LIST 4001
#define IDC_UD_STATUS 4002
#define IDC_UD_OK 4003
#define IDC_UD_ADD 4004
#define IDC_UD_EDIT 4005
#define IDC_UD_DELETE 4006
#define IDC_UDF_EXTENSIONS 4
#define IDC_UDF_OLCOP 6
#define IDC_UDF_MLBCOP 8
#define IDC_UDF_MLECOP 10
#define IDC_UDF_NAME 12
#define IDC_UDF_OK 13
#define IDC_UDF_CANCEL 14
#define IDC_UDF_OLFC 15
#define IDC_UDF_FCMLB 16
