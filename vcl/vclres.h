/* Identifiers of the framework's string table (vcl/vcl.rc). Read by windres as
   well as by C++: plain #defines only. They stay below 0x10000: a resource-string
   identifier from 0x10000 on is the address of a literal. */
#ifndef KAVO_VCL_VCLRES_H
#define KAVO_VCL_VCLRES_H

/* Lists */
#define IDS_LIST_INDEX_ERROR      65024
#define IDS_DUPLICATE_STRING      65025
#define IDS_SORTED_LIST_ERROR     65026
/* Streams and files */
#define IDS_FCREATE_ERROR         65027
#define IDS_FOPEN_ERROR           65028
#define IDS_READ_ERROR            65029
#define IDS_WRITE_ERROR           65030
/* Stored forms, resources, forms and controls */
#define IDS_INVALID_PROPERTY      65031
#define IDS_RES_NOT_FOUND         65032
#define IDS_NO_MDI_FORM           65033
#define IDS_LINE_TOO_LONG         65034
#define IDS_INSERT_LINE_ERROR     65035
#define IDS_VISTA_REQUIRED        65036
/* Message dialog captions */
#define IDS_MSGDLG_WARNING        65040
#define IDS_MSGDLG_ERROR          65041
#define IDS_MSGDLG_INFORMATION    65042
#define IDS_MSGDLG_CONFIRM        65043
/* Message dialog buttons */
#define IDS_MSGDLG_YES            65044
#define IDS_MSGDLG_NO             65045
#define IDS_MSGDLG_OK             65046
#define IDS_MSGDLG_CANCEL         65047
#define IDS_MSGDLG_ABORT          65048
#define IDS_MSGDLG_RETRY          65049
#define IDS_MSGDLG_IGNORE         65050
#define IDS_MSGDLG_ALL            65051
#define IDS_MSGDLG_NO_TO_ALL      65052
#define IDS_MSGDLG_YES_TO_ALL     65053
#define IDS_MSGDLG_HELP           65054
/* Shortcut texts */
#define IDS_MKC_SHIFT             65056
#define IDS_MKC_CTRL              65057
#define IDS_MKC_ALT               65058
#define IDS_MKC_BKSP              65059
#define IDS_MKC_TAB               65060
#define IDS_MKC_ESC               65061
#define IDS_MKC_ENTER             65062
#define IDS_MKC_SPACE             65063
#define IDS_MKC_PGUP              65064
#define IDS_MKC_PGDN              65065
#define IDS_MKC_END               65066
#define IDS_MKC_HOME              65067
#define IDS_MKC_LEFT              65068
#define IDS_MKC_UP                65069
#define IDS_MKC_RIGHT             65070
#define IDS_MKC_DOWN              65071
#define IDS_MKC_INS               65072
#define IDS_MKC_DEL               65073
/* Pictures */
#define IDS_UNKNOWN_EXTENSION     65080
#define IDS_INVALID_BITMAP        65081
#define IDS_INVALID_ICON          65082
#define IDS_CHANGE_ICON_SIZE      65083
#define IDS_ALL_FILTER            65084
#define IDS_VBITMAPS              65085
#define IDS_VICONS                65086
#define IDS_JPEG_IMAGE_FILE       65087
#define IDS_SCAN_LINE             65088
#define IDS_CHANGE_JPEG_SIZE      65089

#endif
