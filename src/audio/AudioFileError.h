#pragma once
// The error every sound-file reader and writer raises: its message names the file and says what
// went wrong, in words a user can act on.

#include "platform/rtl/SysUtils.h"

SONALIX_DECLARE_EXCEPTION(EAudioFileError, Exception);
