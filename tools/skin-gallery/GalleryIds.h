/* Ids of the gallery's dialog: the title bar, the frame and a button in each look. */
#ifndef KRV_GALLERY_IDS_H
#define KRV_GALLERY_IDS_H

#define IDD_GALLERY                203
#define IDC_GALLERY_PRESSED        1201
#define IDC_GALLERY_DISABLED       1202
#define IDC_GALLERY_LABEL_NORMAL   1211
#define IDC_GALLERY_LABEL_HOVER    1212
#define IDC_GALLERY_LABEL_PRESSED  1213
#define IDC_GALLERY_LABEL_DISABLED 1214

#endif
