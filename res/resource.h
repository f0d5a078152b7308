/* Resource ids, read by the resource compiler and by the C++ code. */
#ifndef KRV_RESOURCE_H
#define KRV_RESOURCE_H

/* Dialog templates */
#define IDD_SETTINGS             101
#define IDD_MESSAGEBOX           102

/* Controls of both templates */
#define IDC_STRIP_LEFT           1001
#define IDC_STRIP_BOTTOM         1003
#define IDC_STRIP_RIGHT          1005
#define IDC_TITLE_BAR            1011

/* Controls of the message box */
#define IDC_MESSAGE_TEXT         1017
#define IDC_MESSAGE_PANEL        1018
#define IDC_MESSAGE_ICON         1019

/* Controls of the settings dialog */
#define IDC_MANUAL_RDM           1051
#define IDC_RETAIL_MODE          1052
#define IDC_MANUAL_RDM_HELP      1053
#define IDC_HIDE_SYSTEM_TAB      1054
#define IDC_FORBID_QUEUE_ACCESS  1055
#define IDC_DISABLE_FIXTURE_TYPE 1056
#define IDC_HIDE_SETTINGS_BUTTON 1057
#define IDC_MANUAL_OTHER         1058
#define IDC_MANUAL_OTHER_HELP    1059
#define IDC_USER_SWITCHING       1060
#define IDC_USER_SWITCHING_HELP  1061
#define IDC_DATALOGGING          1062
#define IDC_LOG_START            1063
#define IDC_LOG_COMPLETE         1064
#define IDC_LOG_PAUSE            1065
#define IDC_LOG_RESUME           1066
#define IDC_LOG_ERROR            1067
#define IDC_LOG_DATE             1068
#define IDC_LOG_TIME             1069
#define IDC_LOG_JOB_NAME         1070
#define IDC_LOG_USER             1071
#define IDC_LOG_SERIAL_NUMBER    1072
#define IDC_HOME_Z_AXIS          1073
#define IDC_LOG_DURATION         1074
#define IDC_HOME_Z_AXIS_HELP     1075
#define IDC_DELETE_AFTER_RUN     1076
#define IDC_POLL_FOR_FILES       1077
#define IDC_POLL_FOR_FILES_HELP  1078

/* Icon named by the message box template; the resources hold none */
#define IDI_MESSAGE_ICON         900

/* Bitmaps */
#define IDB_TITLE_LEFT           1020
#define IDB_TITLE_RIGHT          1021
#define IDB_TITLE_MIDDLE         1022
#define IDB_BUTTON_DISABLED      1023
#define IDB_BUTTON_HOVER         1024
#define IDB_BUTTON_NORMAL        1025
#define IDB_BUTTON_PRESSED       1026
#define IDB_BUTTON_NORMAL_LIGHT  1027

/* Strings; a language's text of an id lies at the id plus the language's base */
#define IDS_ENGLISH_MARK         20000
#define IDS_OK                   20001
#define IDS_CANCEL               20002
#define IDS_YES                  20003
#define IDS_NO                   20004
#define IDS_MANUAL_RDM_HELP      20005
#define IDS_RETAIL_MODE          20006
#define IDS_RETAIL_MODE_HELP     20007
#define IDS_HIDE_SYSTEM_TAB      20008
#define IDS_FORBID_QUEUE_ACCESS  20009
#define IDS_DISABLE_FIXTURE_TYPE 20010
#define IDS_MANUAL_OTHER_HELP    20011
#define IDS_USER_SWITCHING       20012
#define IDS_USER_SWITCHING_HELP  20013
#define IDS_DATALOGGING          20014
#define IDS_LOG_START            20015
#define IDS_LOG_COMPLETE         20016
#define IDS_LOG_PAUSE            20017
#define IDS_LOG_RESUME           20018
#define IDS_LOG_ERROR            20019
#define IDS_LOG_DATE             20020
#define IDS_LOG_TIME             20021
#define IDS_LOG_JOB_NAME         20022
#define IDS_LOG_DURATION         20023
#define IDS_LOG_USER             20024
#define IDS_LOG_SERIAL_NUMBER    20025
#define IDS_HOME_Z_AXIS          20026
#define IDS_HOME_Z_AXIS_HELP     20027
#define IDS_HIDE_SETTINGS_BUTTON 20028
#define IDS_DELETE_AFTER_RUN     20029
#define IDS_POLL_FOR_FILES       20030
#define IDS_POLL_FOR_FILES_HELP  20031
#define IDS_ESPANOL_MARK         22000
#define IDS_SETTINGS_TITLE       22001
#define IDS_MANUAL_RDM           22002
#define IDS_MANUAL_OTHER         22003
#define IDS_FRANCAIS_MARK        24000
#define IDS_DEUTSCH_MARK         26000
#define IDS_NEDERLAND_MARK       28000
#define IDS_ITALIANO_MARK        30000
#define IDS_POLSKI_MARK          32000

#endif
