#pragma once

// The little-endian loads live in the platform layer, which every reader
// and the output share.
#include "platform/ByteOrder.h"
