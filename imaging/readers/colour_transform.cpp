#include "imaging/readers/colour_transform.h"

namespace {

void Quiet(cmsContext, cmsUInt32Number, const char*) {}

}  // namespace

ColourTransform::~ColourTransform() {
  if (transform != nullptr) cmsDeleteTransform(transform);
  if (context != nullptr) cmsDeleteContext(context);
}

std::unique_ptr<ColourTransform> NewColourTransform() {
  std::unique_ptr<ColourTransform> made(new ColourTransform);
  made->context = cmsCreateContext(nullptr, nullptr);
  if (made->context == nullptr) return nullptr;
  cmsSetLogErrorHandlerTHR(made->context, Quiet);
  return made;
}
