#include "imaging/readers/primaries_to_srgb.h"

#include "imaging/readers/colour_transform.h"

namespace {

// The curve from coded value to linear light, as a Little CMS parametric
// curve: type 1 is Y = X^g, type 4 is Y = (aX + b)^g for X >= d, else cX.
cmsToneCurve* TransferCurve(cmsContext context, uint16_t transfer) {
  switch (transfer) {
    case 1:
    case 6:
    case 14:
    case 15: {
      const cmsFloat64Number bt709[] = {1 / 0.45, 1 / 1.099, 0.099 / 1.099, 1 / 4.5, 0.081};
      return cmsBuildParametricToneCurve(context, 4, bt709);
    }
    case 4:
    case 5:
    case 8: {
      const cmsFloat64Number gamma[] = {transfer == 4 ? 2.2 : transfer == 5 ? 2.8 : 1.0};
      return cmsBuildParametricToneCurve(context, 1, gamma);
    }
    default: {
      const cmsFloat64Number srgb[] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
      return cmsBuildParametricToneCurve(context, 4, srgb);
    }
  }
}

}  // namespace

PrimariesToSrgb::PrimariesToSrgb() = default;
PrimariesToSrgb::~PrimariesToSrgb() = default;

bool PrimariesToSrgb::Prepare(const ColourPrimaries& colours, bool alpha_first) {
  transform_ = NewColourTransform();
  if (transform_ == nullptr) return false;
  ColourTransform& made = *transform_;

  const cmsCIExyY white = {colours.white_x, colours.white_y, 1.0};
  const cmsCIExyYTRIPLE primaries = {{colours.red_x, colours.red_y, 1.0},
                                     {colours.green_x, colours.green_y, 1.0},
                                     {colours.blue_x, colours.blue_y, 1.0}};
  cmsToneCurve* curve = TransferCurve(made.context, colours.transfer);
  cmsToneCurve* curves[3] = {curve, curve, curve};
  cmsHPROFILE source = curve != nullptr ? cmsCreateRGBProfileTHR(made.context, &white, &primaries, curves) : nullptr;
  cmsHPROFILE srgb = cmsCreate_sRGBProfileTHR(made.context);
  if (source != nullptr && srgb != nullptr) {
    const cmsUInt32Number format = alpha_first ? TYPE_ARGB_8 : TYPE_RGB_8;
    made.transform = cmsCreateTransformTHR(made.context, source, format, srgb, format, INTENT_RELATIVE_COLORIMETRIC,
                                           alpha_first ? cmsFLAGS_COPY_ALPHA : 0);
  }
  if (source != nullptr) cmsCloseProfile(source);
  if (srgb != nullptr) cmsCloseProfile(srgb);
  if (curve != nullptr) cmsFreeToneCurve(curve);
  if (made.transform == nullptr) transform_.reset();
  return transform_ != nullptr;
}

void PrimariesToSrgb::ConvertRows(uint8_t* rows, size_t stride, int32_t width, int32_t count) const {
  if (transform_ == nullptr) return;
  for (int32_t y = 0; y < count; ++y, rows += stride)
    cmsDoTransform(transform_->transform, rows, rows, static_cast<cmsUInt32Number>(width));
}
