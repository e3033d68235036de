// Everything the logic may call of the platform layer.
#pragma once
#include "platform/files.h"
#include "platform/locations.h"
#include "platform/serial.h"
#include "platform/settings.h"
#include "platform/ui.h"
