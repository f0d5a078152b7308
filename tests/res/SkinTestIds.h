/* Ids of the test-only dialogs of SkinTests.rc. */
#ifndef KRV_SKIN_TEST_IDS_H
#define KRV_SKIN_TEST_IDS_H

/* A borderless skinned dialog: title bar, three strips, owner-drawn Ok and Cancel */
#define IDD_TEST_SKINNED            201
/* A captioned dialog with standard Ok and Cancel push buttons and an edit box */
#define IDD_TEST_PLAIN              202

#define IDC_TEST_EDIT               1101

/* The skin gallery: the title bar, the frame and a button in each look */
#define IDD_GALLERY                 203
#define IDC_GALLERY_PRESSED         1201
#define IDC_GALLERY_DISABLED        1202
#define IDC_GALLERY_LABEL_NORMAL    1211
#define IDC_GALLERY_LABEL_HOVER     1212
#define IDC_GALLERY_LABEL_PRESSED   1213
#define IDC_GALLERY_LABEL_DISABLED  1214

#endif
