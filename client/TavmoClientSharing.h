/*
 * Records of the sharing requests: the remote window shares and the local
 * windows and desktops that could be shared. Included by TavmoClient.h; needs
 * its layout macros and TavmoClientVideoRect.
 */
#ifndef TAVMO_CLIENT_SHARING_H
#define TAVMO_CLIENT_SHARING_H

/* Request type codes of the window shares record, both directions. */
#define TAVMO_CLIENT_SHARES_LIST 0
#define TAVMO_CLIENT_SHARES_CHANGE 1
#define TAVMO_CLIENT_SHARES_TOGGLE 2
#define TAVMO_CLIENT_SHARES_STOP 3
#define TAVMO_CLIENT_SHARES_UPDATE_DISPLAY 4
#define TAVMO_CLIENT_SHARES_ADD 5

/* Slot 0 of each list is never used: entries are 1 to 39. */
#define TAVMO_CLIENT_SHARES_SLOTS 40
#define TAVMO_CLIENT_SHARE_TEXT_BYTES 257

typedef struct TavmoClientWindowShares {
    int32_t requestType;
    char remoteAppUri[TAVMO_CLIENT_SHARES_SLOTS][TAVMO_CLIENT_SHARE_TEXT_BYTES];
    char remoteAppName[TAVMO_CLIENT_SHARES_SLOTS][TAVMO_CLIENT_SHARE_TEXT_BYTES];
    int32_t numApp;
    int32_t currApp;
    char eventUri[TAVMO_CLIENT_SHARE_TEXT_BYTES];
    int32_t newApp;
} TavmoClientWindowShares;
TAVMO_CLIENT_SIZE(TavmoClientWindowShares, 20836, 20836);
TAVMO_CLIENT_OFFSET(TavmoClientWindowShares, remoteAppUri, 4, 4);
TAVMO_CLIENT_OFFSET(TavmoClientWindowShares, remoteAppName, 10284, 10284);
TAVMO_CLIENT_OFFSET(TavmoClientWindowShares, numApp, 20564, 20564);
TAVMO_CLIENT_OFFSET(TavmoClientWindowShares, currApp, 20568, 20568);
TAVMO_CLIENT_OFFSET(TavmoClientWindowShares, eventUri, 20572, 20572);
TAVMO_CLIENT_OFFSET(TavmoClientWindowShares, newApp, 20832, 20832);

#define TAVMO_CLIENT_APP_WINDOWS 128
#define TAVMO_CLIENT_SYSTEM_DESKTOPS 16
#define TAVMO_CLIENT_WINDOW_TEXT_BYTES 257
#define TAVMO_CLIENT_DESKTOP_DEVICE_BYTES 128

typedef struct TavmoClientWindowsAndDesktops {
    uint32_t numApplicationWindows;
    char appWindowName[TAVMO_CLIENT_APP_WINDOWS][TAVMO_CLIENT_WINDOW_TEXT_BYTES];
    /* An empty application name marks a slot to skip. */
    char appWindowAppName[TAVMO_CLIENT_APP_WINDOWS][TAVMO_CLIENT_WINDOW_TEXT_BYTES];
    uint32_t appWindowId[TAVMO_CLIENT_APP_WINDOWS];
    unsigned char windowsReserved[2048];
    uint32_t numSystemDesktops;
    char sysDesktopName[TAVMO_CLIENT_SYSTEM_DESKTOPS][TAVMO_CLIENT_WINDOW_TEXT_BYTES];
    /* What the share in-event names a desktop by. */
    char sysDesktopDevice[TAVMO_CLIENT_SYSTEM_DESKTOPS][TAVMO_CLIENT_DESKTOP_DEVICE_BYTES];
    TavmoClientVideoRect sysDesktopRect[TAVMO_CLIENT_SYSTEM_DESKTOPS];
    unsigned char desktopsReserved[448];
    signed char appSharesDisabled;
} TavmoClientWindowsAndDesktops;
TAVMO_CLIENT_SIZE(TavmoClientWindowsAndDesktops, 75228, 75228);
TAVMO_CLIENT_OFFSET(TavmoClientWindowsAndDesktops, appWindowName, 4, 4);
TAVMO_CLIENT_OFFSET(TavmoClientWindowsAndDesktops, appWindowAppName, 32900, 32900);
TAVMO_CLIENT_OFFSET(TavmoClientWindowsAndDesktops, appWindowId, 65796, 65796);
TAVMO_CLIENT_OFFSET(TavmoClientWindowsAndDesktops, windowsReserved, 66308, 66308);
TAVMO_CLIENT_OFFSET(TavmoClientWindowsAndDesktops, numSystemDesktops, 68356, 68356);
TAVMO_CLIENT_OFFSET(TavmoClientWindowsAndDesktops, sysDesktopName, 68360, 68360);
TAVMO_CLIENT_OFFSET(TavmoClientWindowsAndDesktops, sysDesktopDevice, 72472, 72472);
TAVMO_CLIENT_OFFSET(TavmoClientWindowsAndDesktops, sysDesktopRect, 74520, 74520);
TAVMO_CLIENT_OFFSET(TavmoClientWindowsAndDesktops, desktopsReserved, 74776, 74776);
TAVMO_CLIENT_OFFSET(TavmoClientWindowsAndDesktops, appSharesDisabled, 75224, 75224);

#endif
