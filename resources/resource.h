#ifndef KIRAPICK_RESOURCE_H
#define KIRAPICK_RESOURCE_H

// Unnamed static texts, frames and labels
#ifndef IDC_STATIC
#define IDC_STATIC              (-1)
#endif

// Search window (dialog 101)
#define IDD_SEARCH              101
#define IDC_SEARCH_HISTORY      1001    // history / query combo box
#define IDC_SEARCH_GO           1003    // "サ～チ！(&S)"
#define IDC_SEARCH_ENGINE_MENU  1007    // ">" engine menu
#define IDC_SEARCH_TOUR         1006    // "見廻り(&T)"
#define IDC_SEARCH_DEST_MENU    1008    // ">" tour destinations menu
#define IDC_SEARCH_SETTINGS     1005    // "設定(&C)"
#define IDC_SEARCH_MORE_MENU    1009    // ">" opens menu 104

// Search window menu (menu 104)
#define IDM_SEARCH_MENU         104
#define IDM_CLEAR_HISTORY       105     // "履歴を削除する(&D)"
#define IDM_OPEN_README         120     // "readme.txtを開く(&R)"
#define IDM_OPEN_HOMEPAGE       121     // maker's home page
#define IDM_EXIT                106     // "常駐を終了する(&X)"

// Notification icon menu (menu 130)
#define IDM_TRAY_MENU           130
#define IDM_TRAY_SHOW           131     // "検索ウィンドウを表示する(&S)"
#define IDM_TRAY_TOUR           132     // "見廻りを開始する(&T)"
#define IDM_TRAY_SETTINGS       133     // "設定を開く(&C)"
#define IDM_TRAY_README         134     // "readme.txtを開く(&R)"
#define IDM_TRAY_AUTOSTART      135     // "ログオン時に自動的に起動する(&L)", a check item
#define IDM_TRAY_EXIT           136     // "常駐を終了する(&X)"

// Settings sheet: options page (dialog 103)
#define IDD_OPTIONS_PAGE        103
#define IDC_OPT_HOTKEY          1018    // F1..F12
#define IDC_OPT_HOTKEY_CTRL     1009    // "Ctrl"
#define IDC_OPT_HOTKEY_SHIFT    1010    // "Shift"
#define IDC_OPT_HOTKEY_ALT      1011    // "Alt"
#define IDC_OPT_IME_ON          1007    // "検索ウィンドウ起動時にIMEをONにする。(&I)"
#define IDC_OPT_SHOW_CLIP       1012    // "検索ウィンドウ起動時にクリップボードの内容を取り込む。(&B)"
#define IDC_OPT_COPY_EMULATE    1013    // "検索ウィンドウ起動時にCtrl+Cをエミュレートする。(&C)"
#define IDC_OPT_AUTO_URL_OPEN   1014    // "クリップボードの内容がURLなら、自動的に開く。(&A)"
#define IDC_OPT_SHIFT_OPEN      1015    // "自動的に開く際に、Shiftキーをエミュレートする。(&S)"
#define IDC_OPT_MAKEUP_URL      1017    // "先頭が「ttp:」、「tp:」、「www」ならURLと見なして補完する。(&M)"
#define IDC_OPT_SAVE_HISTORY    1016    // "検索した文字列を履歴に残す。(&H)"
#define IDC_OPT_FUNCKEY_TOUR    1021    // "検索ウィンドウからファンクションキーで見廻りを開始する。(&T)"
#define IDC_OPT_TOUR_FUNCKEY    1022    // F1..F12
#define IDC_OPT_TOURBAR_SHOW    1023    // "プログラム開始時に見廻りバーを表示する。(&O)"
#define IDC_OPT_TOUR_AUTOSTART  1024    // "見廻り先を指定したら同時に最初の見廻りを開始する。(&Ｇ)"
#define IDC_OPT_HTTPS_URL       1025    // "「https:」で始まる文字列もURLと見なす。(&P)"
#define IDC_OPT_TRAY_ICON       1026    // "通知領域にアイコンを表示する。(&N)"
#define IDC_OPT_AUTOSTART       1027    // "ログオン時に自動的に起動する。(&L)"

// Settings sheet: search engines page (dialog 104)
#define IDD_ENGINES_PAGE        104
#define IDC_ENG_LIST            1201    // engine list
#define IDC_ENG_DOWN            1202    // "下に(&D)"
#define IDC_ENG_UP              1203    // "上に(&U)"
#define IDC_ENG_CLEAR           1009    // "クリア(&C)"
#define IDC_ENG_NAME            1051    // display name
#define IDC_ENG_URL             1031    // search URL template
#define IDC_ENG_CODE            1032    // "Shift-JIS" / "UTF-8"

// Settings sheet: tour destinations page (dialog 105)
#define IDD_DESTINATIONS_PAGE   105
#define IDC_DEST_LIST           1204    // destination list
#define IDC_DEST_DOWN           1202    // "下に(&D)"
#define IDC_DEST_UP             1203    // "上に(&U)"
#define IDC_DEST_CLEAR          1009    // "クリア(&C)"
#define IDC_DEST_NAME           1160    // display name
#define IDC_DEST_KIND           1208    // kind of destination
#define IDC_DEST_PATH           1065    // search path pattern
#define IDC_DEST_PATH_BROWSE    1100    // "参照"
#define IDC_DEST_ORDER_BY       1008    // sort order
#define IDC_DEST_FILE_ORDER     1205    // "順番"
#define IDC_DEST_EXT_FILTER     1007    // extension filter
#define IDC_DEST_VIEWER         1006    // viewer command line
#define IDC_DEST_VIEWER_BROWSE  1101    // "参照"

// Settings sheet: version page (dialog 106)
#define IDD_ABOUT_PAGE          106

// File order dialog (dialog 108); OK and Cancel use IDOK and IDCANCEL
#define IDD_FILE_ORDER          108
#define IDC_ORDER_LIST          1207    // file names
#define IDC_ORDER_UP            1203    // "↑上に(&U)"
#define IDC_ORDER_DOWN          1202    // "↓下に(&D)"
#define IDC_ORDER_TOP           1204    // "一番上(&U)"
#define IDC_ORDER_BOTTOM        1206    // "一番下(&D)"
#define IDC_ORDER_RELEASE       1009    // "順番解除(&C)"

// Tour bar (dialog 107)
#define IDD_TOURBAR             107
#define IDC_TOUR_HIDE           1013    // "×"
#define IDC_TOUR_DEST_MENU      1014    // ">" tour destinations menu
#define IDC_TOUR_PREV           1121    // "←"
#define IDC_TOUR_LIST           1123    // "*"
#define IDC_TOUR_RANDOM         1124    // "!"
#define IDC_TOUR_NEXT           1120    // "→"
#define IDC_TOUR_KEYS_OFF       1126    // indicator, bitmap 109
#define IDC_TOUR_KEYS_ON        1125    // indicator, bitmap 110

// Tour bar file menu (menu 113)
#define IDM_TOUR_FILE_MENU      113
#define IDM_TOUR_DELETE_FILE    115     // "このファイルを削除(&D)"
#define IDM_TOUR_OPEN_FOLDER    116     // "フォルダを開く(&F)"
#define IDM_TOUR_CANCEL         118     // "キャンセル(&X)"

// Bitmaps
#define IDB_TOUR_KEYS_OFF       109     // black indicator
#define IDB_TOUR_KEYS_ON        110     // red indicator

// Program icon
#define IDI_APP                 100

#endif // KIRAPICK_RESOURCE_H
