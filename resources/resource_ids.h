/* Resource numbers shared by the resource script and the code (portable: no Windows types).
   The numbers are fixed: stored settings, the help file and old scripts rely on them. */
#ifndef ORVANE_RESOURCE_IDS_H
#define ORVANE_RESOURCE_IDS_H

/* ---- Strings ---- */
#define IDS_MUST_ENTER_NAME        36
#define IDS_CITY_FILE              40
#define IDS_CANNOT_LOAD_CITIES     41
#define IDS_NO_NAME                42
#define IDS_NEW_CITY_FILE          43
#define IDS_CANNOT_SAVE_CITIES     44
#define IDS_CANNOT_CLOSE_CITIES    45
#define IDS_SAVE_CITIES_QUESTION   46
#define IDS_CITY_FILE_NOT_WHOLE    47
#define IDS_BACKUP_CITY_FILE       48
#define IDS_CANNOT_LOAD_FONT       49
#define IDS_PRODUCT_NAME           52
#define IDS_INVALID_NUMBER         59
#define IDS_WINDOW_ERROR           64
#define IDS_CANNOT_CREATE_DIALOG   66
#define IDS_NO_TIMER               67
#define IDS_DIALOG_ERROR           68
#define IDS_OUT_OF_MEMORY          70
#define IDS_KEY_SOUND              71
#define IDS_HIDE_MENU_BAR          73
#define IDS_SHOW_MENU_BAR          74
#define IDS_KEY_MENUS              75
#define IDS_KEY_TIME               95
#define IDS_LONGITUDE_RANGE        111
#define IDS_MINUTES_RANGE          112
#define IDS_SECONDS_RANGE          113
#define IDS_ZONE_RANGE             114
#define IDS_ABBREV_BASE            115 /* 115 + TimeKind: LMT, LMT, UT, LST, GST */
#define IDS_KEY_WIDTH              129
#define IDS_KEY_HEIGHT             130
#define IDS_KEY_X                  131
#define IDS_KEY_Y                  132
#define IDS_AM                     133
#define IDS_PM                     134
#define IDS_ALWAYS_ON_TOP          135
#define IDS_KEY_ON_TOP             136
#define IDS_NAME_HAS_SEPARATOR     137
#define IDS_WEB_ADDRESS            138
#define IDS_HELP_TITLE             139
#define IDS_HELP_UNREADABLE        140
#define IDS_HELP_NO_TOPIC          141
#define IDS_HELP_CONTENTS          142 /* the help window's buttons and pages */
#define IDS_HELP_INDEX             160
#define IDS_HELP_BACK              161
#define IDS_HELP_SEARCH            162
#define IDS_HELP_SEARCH_TITLE      163
#define IDS_HELP_NOT_FOUND         164
#define IDS_KEY_NIGHT              165
#define IDS_NIGHT_COLOURS          166
#define IDS_FOLDER_NOT_WRITABLE    170
#define IDS_KEEP_IN_OWN_FOLDER     171
#define IDS_UT_FROM_WINDOWS        173 /* the system menu's copy of the Time menu item */
#define IDS_UT_DISAGREES           174 /* city name, the city's UT, the computer's UT */
#define IDS_UT_QUESTION            175
#define IDS_KEY_UT_FROM_WINDOWS    176
#define IDS_SHUTDOWN_REASON        167
#define IDS_KEY_MAXIMIZED          183
#define IDS_APPARENT               240 /* the Time menu item; the system menu's copy */
#define IDS_KEY_APPARENT           241
#define IDS_ABBREV_LAST            242 /* apparent sidereal time: local, Greenwich */
#define IDS_ABBREV_GAST            243
#define IDS_KEY_DUT1               248 /* UT1 - UTC in whole milliseconds */
#define IDS_KEY_DUT1_DATE          249
#define IDS_DUT1_RANGE             250
#define IDS_DUT1_NOT_ENTERED       251
#define IDS_KEY_TIME_SERVER        300
#define IDS_DEFAULT_TIME_SERVER    301
#define IDS_KEY_SERVER_CORRECTION  302
#define IDS_SNTP_BEHIND            303 /* the span, the server */
#define IDS_SNTP_AHEAD             304 /* the span, the server */
#define IDS_SNTP_AGREES            305 /* the server */
#define IDS_SNTP_UNCERTAINTY       306 /* the span */
#define IDS_SNTP_SERVER            307
#define IDS_SNTP_MEASURED          308 /* the computer's local time */
#define IDS_SNTP_LST_LATE          309
#define IDS_SNTP_LST_EARLY         310
#define IDS_SNTP_RIGHT_FOR_POINTING 311
#define IDS_SNTP_HOW_TO_SET        312
#define IDS_SNTP_MILLISECONDS      313
#define IDS_SNTP_SECONDS           314
#define IDS_SNTP_MINUTES_SECONDS   315
#define IDS_SNTP_HOURS_MINUTES     316
#define IDS_SNTP_DAYS              317
#define IDS_SNTP_STATUS_BASE       318 /* + the check's status (1 to 15): the server, a kiss code */
#define IDS_CHECK_ASKING           340 /* the server */
#define IDS_SERVER_CORRECTION      350
#define IDS_CORRECTED_SCALE        351 /* the scale's abbreviation, in the caption */
#define IDS_CORRECTED_MINIMISED    352 /* the scale's abbreviation, minimised */
#define IDS_EXE_NAME               10000
#define IDS_ERROR_CAPTION          10001
#define IDS_FATAL_CAPTION          10002
#define IDS_GDI_ERROR              10003
#define IDS_INI_FILE               10005
#define IDS_NO_ACCELERATORS        10007
#define IDS_HELP_FILE              10008
#define IDS_HELP_ERROR             10009
#define IDS_INI_SECTION            10010
#define IDS_SETTINGS_PATH          10011
#define IDS_REGISTRY_ERROR         10012

/* ---- Menu and accelerator commands ---- */
#define IDM_HELP_INDEX             31
#define IDM_HELP_KEYBOARD          32
#define IDM_HELP_USING             35
#define IDM_ABOUT                  36
#define IDM_WEB_SITE               38
#define IDM_EXIT                   51
#define IDM_TIME_BASE              100 /* 100 + TimeKind */
#define IDM_LMT12                  100
#define IDM_LMT24                  101
#define IDM_UT                     102
#define IDM_LST                    103
#define IDM_GST                    104
#define IDM_CHIME_BASE             110 /* 110 + ChimeMode */
#define IDM_CHIME_NONE             110
#define IDM_CHIME_SINGLE           111
#define IDM_CHIME_MULTIPLE         112
#define IDM_SET_LOCATION           130
#define IDM_HIDE_MENU_BAR          150 /* system menu */
#define IDM_SHOW_MENU_BAR          151 /* system menu */
#define IDM_ALWAYS_ON_TOP          152 /* system menu */
#define IDM_NIGHT_COLOURS          153 /* system menu and Time menu */
#define IDM_UT_FROM_WINDOWS        154 /* system menu and Time menu */
#define IDM_APPARENT               155 /* system menu and Time menu */
#define IDM_SIDEREAL_DIALOG        156
#define IDM_CHECK_CLOCK            157
#define IDM_SERVER_CORRECTION      158 /* Time menu and the Check the Computer's Clock dialog */

/* ---- Set Location dialog controls ---- */
#define IDC_LOCATION_LABEL         114
#define IDC_LOCATION_COMBO         115
#define IDC_DEGREE_SIGN            125
#define IDC_LONGITUDE_LABEL        126
#define IDC_DEGREES                127
#define IDC_MINUTES                128
#define IDC_MINUTE_SIGN            129
#define IDC_SECONDS                130
#define IDC_SECOND_SIGN            131
#define IDC_WEST                   132
#define IDC_EAST                   133
#define IDC_LONGITUDE_GROUP        134
#define IDC_ZONE_LABEL             135
#define IDC_ZONE                   136
#define IDC_HOURS_LABEL            139
#define IDC_SAVE                   141
#define IDC_DST                    199
#define IDC_DST_WINDOWS            200

/* ---- About dialog controls ---- */
#define IDC_ABOUT_TEXT             114
#define IDC_ABOUT_ICON             118

/* ---- Sidereal Time dialog controls ---- */
#define IDC_SIDEREAL_GROUP         400
#define IDC_SIDEREAL_MEAN          401
#define IDC_SIDEREAL_APPARENT      402
#define IDC_DUT1_LABEL             403
#define IDC_DUT1                   404
#define IDC_DUT1_UNIT              405
#define IDC_DUT1_DATE_LABEL        406
#define IDC_DUT1_DATE              407
#define IDC_DUT1_SOURCE            408

/* ---- Check the Computer's Clock dialog controls ---- */
#define IDC_CHECK_SERVER_LABEL     500
#define IDC_CHECK_SERVER           501
#define IDC_CHECK_RESULT           502
#define IDC_CHECK_CORRECTION       503
#define IDC_CHECK_AGAIN            504

/* ---- Other resources ---- */
#define IDR_MANIFEST               1

#endif
