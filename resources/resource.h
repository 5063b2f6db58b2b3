/* Resource identifiers of the host: the two dialogs of the website approval
   and their controls. Shared by TavmoClientForWeb.rc and the code that shows
   the dialogs. */
#ifndef TAVMO_RESOURCE_H
#define TAVMO_RESOURCE_H

/* Asks whether the website may use the camera and microphone. */
#define IDD_APPROVAL 101
/* Shown after "No": confirms the refusal or goes back to the question. */
#define IDD_REFUSAL 102

#define IDC_APPROVAL_REMEMBER 1000
#define IDC_APPROVAL_YES 1001
#define IDC_APPROVAL_NO 1002
#define IDC_REFUSAL_OK 1003
#define IDC_REFUSAL_JOIN 1004
#define IDC_APPROVAL_QUESTION 1005
#define IDC_APPROVAL_DOMAIN 1006

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#endif
