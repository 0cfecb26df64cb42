#include "imaging/readers/cmyk_to_rgb.h"

#include "imaging/readers/colour_transform.h"

namespace {

// x * y / 255, rounded, for x and y in 0..255.
inline uint8_t ScaledProduct(unsigned x, unsigned y) {
  const unsigned product = x * y + 128;
  return static_cast<uint8_t>((product + (product >> 8)) >> 8);
}

}  // namespace

CmykToRgb::CmykToRgb(bool inverted) : inverted_(inverted) {}
CmykToRgb::~CmykToRgb() = default;

bool CmykToRgb::UseProfile(const std::string& profile) {
  std::unique_ptr<ColourTransform> made = NewColourTransform();
  if (made == nullptr) return false;
  cmsHPROFILE source = cmsOpenProfileFromMemTHR(made->context, profile.data(),
                                                static_cast<cmsUInt32Number>(profile.size()));
  cmsHPROFILE srgb = cmsCreate_sRGBProfileTHR(made->context);
  if (source != nullptr && srgb != nullptr && cmsGetColorSpace(source) == cmsSigCmykData) {
    // lcms2 counts 0 as no ink; its "reversed" flavour reads Adobe's inverted samples.
    made->transform = cmsCreateTransformTHR(made->context, source, inverted_ ? TYPE_CMYK_8_REV : TYPE_CMYK_8,
                                            srgb, TYPE_RGB_8, INTENT_RELATIVE_COLORIMETRIC,
                                            cmsFLAGS_BLACKPOINTCOMPENSATION);
  }
  if (source != nullptr) cmsCloseProfile(source);
  if (srgb != nullptr) cmsCloseProfile(srgb);
  if (made->transform == nullptr) return false;
  transform_ = std::move(made);
  return true;
}

uint64_t CmykToRgb::WorkingBytes() const {
  // The precalculated four-channel table, counted generously at 33 grid
  // points a side with three 16-bit outputs each, and lcms2's bookkeeping.
  return transform_ != nullptr ? uint64_t{33} * 33 * 33 * 33 * 3 * 2 + (1u << 16) : 0;
}

void CmykToRgb::Convert(const uint8_t* cmyk, uint8_t* rgb, size_t count) const {
  if (transform_ != nullptr) {
    cmsDoTransform(transform_->transform, cmyk, rgb, static_cast<cmsUInt32Number>(count));
    return;
  }
  for (size_t i = 0; i < count; ++i, cmyk += 4, rgb += 3) {
    // What is left of white under each ink: inverted samples already are.
    const unsigned flip = inverted_ ? 0 : 255;
    const unsigned white = cmyk[3] ^ flip;
    rgb[0] = ScaledProduct(cmyk[0] ^ flip, white);
    rgb[1] = ScaledProduct(cmyk[1] ^ flip, white);
    rgb[2] = ScaledProduct(cmyk[2] ^ flip, white);
  }
}
