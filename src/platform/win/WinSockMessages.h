#pragma once
// Socket notifications and name look-ups delivered as window messages: the select message
// carries the socket in WParam and the event (low word) with its error (high word) in LParam;
// a look-up completion carries the request handle in WParam and the needed buffer length (low
// word) with the error (high word) in LParam.

#include "platform/sys/WinSock.h"
#include "platform/win/Windows.h"

// Mask 0 stops the messages; see ws::AsyncSelect for when each event is reported.
int WSAAsyncSelect(SOCKET s, HWND hWnd, UINT wMsg, long lEvent);
// The host entry is laid out in Buf (MAXGETHOSTSTRUCT bytes suffice) just before the message is
// posted; nothing is written or posted once the request was cancelled or the window is gone.
// 0 when the request could not start (WSAGetLastError tells why).
uintptr_t WSAAsyncGetHostByName(HWND hWnd, UINT wMsg, const char* name, char* buf, int buflen);
// Addr holds Len bytes of an address of family Type (only AF_INET, 4 bytes).
uintptr_t WSAAsyncGetHostByAddr(HWND hWnd, UINT wMsg, const char* addr, int len, int type,
                                char* buf, int buflen);
int WSACancelAsyncRequest(uintptr_t hAsyncTaskHandle);
