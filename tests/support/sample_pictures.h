// A folder's worth of pictures of every kind the readers take, each made
// from known pixels at a size the test chooses: every header form and
// pixel layout of every format, plain and interlaced, stored top-down and
// bottom-up, so that a test can run one check over all of them.
#pragma once

#include <string>
#include <vector>

#include "tests/support/scratch_folder.h"

// Writes the pictures into `folder`, their names starting with `prefix`,
// and returns their paths. Kinds that cannot have the size (a PCX of one
// row) are left out; the Photo CD picture has its fixed size.
std::vector<std::string> WriteSamplePictures(const ScratchFolder& folder, const std::string& prefix, int width,
                                             int height);
