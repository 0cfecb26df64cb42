// What an embedded colour profile describes, read from its header, so that a
// reader hands on only a profile that fits the pixels it hands out: a CMYK
// profile whose pixels became RGB, or a gray profile on a colour picture,
// would make the written JPEG show wrong colours.
#pragma once

#include <string>

#include "imaging/readers/picture_description.h"

enum class ProfileSpace { kInvalid, kGray, kRgb, kCmyk, kOther };

// The data colour space of the profile in `bytes`; kInvalid when the bytes
// are not a profile header (too short, no "acsp" signature, or a declared
// size that differs from the bytes).
ProfileSpace SpaceOfProfile(const std::string& bytes);

// Adds `profile` to the description's metadata as the ICC block when it is a
// gray profile and the picture's colours are gray, or an RGB profile and they
// are colour; any other profile is dropped.
void HandOnProfile(std::string profile, bool gray_picture, PictureDescription* description);
