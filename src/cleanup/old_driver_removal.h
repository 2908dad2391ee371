// The three stateless operations that take what earlier drivers of the card
// left behind out of the way. No caller examines their results.
#pragma once

#include "cleanup/legacy_device_keys.h"
#include "cleanup/old_driver_files.h"
#include "cleanup/present_device_removal.h"
