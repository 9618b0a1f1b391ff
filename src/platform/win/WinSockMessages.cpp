#include "platform/win/WinSockMessages.h"

#include <cstring>

int WSAAsyncSelect(SOCKET s, HWND hWnd, UINT wMsg, long lEvent) {
  if (lEvent != 0 && !IsWindow(hWnd)) {
    WSASetLastError(WSAEINVAL);
    return SOCKET_ERROR;
  }
  ws::TSelectNotify notify;
  if (lEvent != 0)
    notify = [hWnd, wMsg](SOCKET sock, long event, int error) {
      PostMessage(hWnd, wMsg, WPARAM(sock), MAKELPARAM(WORD(event), WORD(error)));
    };
  return ws::AsyncSelect(s, std::move(notify), lEvent);
}

namespace {

ws::TLookupDone Completion(HWND hWnd, UINT wMsg, char* buf, int buflen,
                           std::shared_ptr<uintptr_t> handle) {
  return [=](const ws::TLookupAnswer& answer) {
    if (!IsWindow(hWnd)) return;
    int error = answer.Error;
    if (error == 0 && !ws::PackHostEntry(answer, buf, buflen)) error = WSAENOBUFS;
    PostMessage(hWnd, wMsg, WPARAM(*handle), MAKELPARAM(WORD(buflen), WORD(error)));
  };
}

}  // namespace

uintptr_t WSAAsyncGetHostByName(HWND hWnd, UINT wMsg, const char* name, char* buf, int buflen) {
  if (!IsWindow(hWnd) || !name || !buf) {
    WSASetLastError(WSAEINVAL);
    return 0;
  }
  auto handle = std::make_shared<uintptr_t>(0);
  *handle = ws::StartNameLookup(name, Completion(hWnd, wMsg, buf, buflen, handle));
  return *handle;
}

uintptr_t WSAAsyncGetHostByAddr(HWND hWnd, UINT wMsg, const char* addr, int len, int type,
                                char* buf, int buflen) {
  if (!IsWindow(hWnd) || !addr || !buf) {
    WSASetLastError(WSAEINVAL);
    return 0;
  }
  if (type != AF_INET || len != 4) {
    WSASetLastError(WSAEAFNOSUPPORT);
    return 0;
  }
  uint32_t a;
  std::memcpy(&a, addr, 4);
  auto handle = std::make_shared<uintptr_t>(0);
  *handle = ws::StartAddressLookup(a, Completion(hWnd, wMsg, buf, buflen, handle));
  return *handle;
}

int WSACancelAsyncRequest(uintptr_t h) {
  if (!ws::CancelLookup(h)) {
    WSASetLastError(WSAEINVAL);
    return SOCKET_ERROR;
  }
  return 0;
}
