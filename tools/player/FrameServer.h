#pragma once
// The player opens scripts through the frame server's host-side client.
#include "client/ScriptClient.h"

namespace player {

using fsclient::ClipScript;
using fsclient::FramePtr;
using fsclient::OpenInstalledScript;

}  // namespace player
