/* Ids of the test-only dialogs of SkinTests.rc. */
#ifndef KRV_SKIN_TEST_IDS_H
#define KRV_SKIN_TEST_IDS_H

/* A borderless skinned dialog: title bar, three strips, owner-drawn Ok and Cancel */
#define IDD_TEST_SKINNED            201
/* A captioned dialog with standard Ok and Cancel push buttons and an edit box */
#define IDD_TEST_PLAIN              202

#define IDC_TEST_EDIT               1101

#endif
