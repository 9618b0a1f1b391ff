#pragma once
// The Winsock binding of the socket components: starting and cleaning up the library, name,
// port and protocol resolution, and the texts of the error numbers.

#include <cstdint>
#include <string>

#include "platform/rtl/SysUtils.h"
#include "platform/sys/WinSock.h"
#include "platform/win/Windows.h"

SONALIX_DECLARE_EXCEPTION(ESocketException, Exception);

bool IsDottedIP(const std::string& S);
// Network order; raises ESocketException.
uint32_t ResolveHost(const std::string& InAddr);
// Host order.
uint16_t ResolvePort(const std::string& Port, const std::string& Proto);
int ResolveProto(const std::string& Proto);
std::string LocalHostName();
std::string WinsockErrorText(int ErrCode);
std::string WinsockErrorMessage(int ErrCode);
// The binding's requested version (process-wide) and its state, for the properties and tests.
BYTE WSocketReqVerLow();
BYTE WSocketReqVerHigh();
bool WSocketLoaded();
// Sets the requested version; false once the library is started (it cannot change then).
bool SetWSocketReqVer(BYTE Low, BYTE High);
// Starts the library with the requested version unless it runs; raises ESocketException.
void LoadWinsock();
// One more or one fewer socket component: the last one going cleans the library up.
void AddWinsockUser();
void RemoveWinsockUser();
std::string DottedAddress(uint32_t NetOrder);
