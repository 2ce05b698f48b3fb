// GDI+ drawing of a surface: the surface's memory is lent to a GDI+ bitmap,
// flipped upright (or not, to mirror), optionally recoloured through a colour
// matrix, and drawn scaled, faded or turned about the destination's centre.
#include <cstdlib>

#include "gray_scale.h"
#include "imaging/render.h"

namespace lumio {
namespace {

using Gdiplus::GpStatus;
using Gdiplus::Ok;

constexpr Gdiplus::PixelFormat kPargb = 0xE200B;

class Attributes {
public:
    Attributes(const GdiplusApi &api) noexcept : api_(api) {}
    ~Attributes() { reset(); }
    Attributes(const Attributes &) = delete;
    Attributes &operator=(const Attributes &) = delete;
    bool Create() noexcept { return api_.CreateImageAttributes(&attr_) == Ok && attr_ != nullptr; }
    Gdiplus::GpImageAttributes *get() const noexcept { return attr_; }
    void reset() noexcept {
        if (attr_) api_.DisposeImageAttributes(attr_);
        attr_ = nullptr;
    }

private:
    const GdiplusApi &api_;
    Gdiplus::GpImageAttributes *attr_ = nullptr;
};

class Graphics {
public:
    Graphics(const GdiplusApi &api, HDC dc) noexcept : api_(api) {
        if (api_.CreateFromHDC(dc, &g_) != Ok) g_ = nullptr;
    }
    ~Graphics() {
        if (g_) api_.DeleteGraphics(g_);
    }
    Graphics(const Graphics &) = delete;
    Graphics &operator=(const Graphics &) = delete;
    Gdiplus::GpGraphics *get() const noexcept { return g_; }

private:
    const GdiplusApi &api_;
    Gdiplus::GpGraphics *g_ = nullptr;
};

class Bitmap {
public:
    Bitmap(const GdiplusApi &api, const c32bppDIB &s) noexcept : api_(api) {
        if (api_.CreateBitmapFromScan0(s.Width(), s.Height(), s.Width() * 4, kPargb, s.BitsPointer(), &b_) != Ok)
            b_ = nullptr;
    }
    ~Bitmap() {
        if (b_) api_.DisposeImage(b_);
    }
    Bitmap(const Bitmap &) = delete;
    Bitmap &operator=(const Bitmap &) = delete;
    Gdiplus::GpBitmap *get() const noexcept { return b_; }

private:
    const GdiplusApi &api_;
    Gdiplus::GpBitmap *b_ = nullptr;
};

bool SetMatrix(const GdiplusApi &api, Attributes &a, const Gdiplus::ColorMatrix &m) {
    return api.SetImageAttributesColorMatrix(a.get(), Gdiplus::ColorAdjustTypeBitmap, TRUE, &m, &m,
                                             Gdiplus::ColorMatrixFlagsDefault) == Ok;
}

}  // namespace

bool RenderDIB(cGDIPlus &gdi, const c32bppDIB &cHost, HDC hDC, float Angle, std::int32_t Opacity,
               std::int32_t destX, std::int32_t destY, std::int32_t destWidth, std::int32_t destHeight,
               std::int32_t SrcX, std::int32_t SrcY, std::int32_t srcWidth, std::int32_t srcHeight, bool highQuality,
               std::int32_t grayScale, ULONG_PTR token, float LightAdjustment) {
    if (Opacity == 0) return true;
    if (!cHost.HasImage() || hDC == nullptr) return false;
    if (destWidth == INT32_MIN || destHeight == INT32_MIN) return false;
    const GdiplusApi &api = gdi.Api();
    if (!api.Available()) return false;
    GdiplusSession session(api, token);
    if (!session) return false;

    bool result = false;
    {
        Bitmap bitmap(api, cHost);
        if (bitmap.get() == nullptr) return false;
        Graphics graphics(api, hDC);
        if (graphics.get() == nullptr) return false;
        api.SetInterpolationMode(graphics.get(), highQuality ? Gdiplus::InterpolationModeHighQualityBicubic
                                                               : Gdiplus::InterpolationModeNearestNeighbor);
        // The surface is bottom-up: GDI+ sees it upside down until flipped.
        int flip = Gdiplus::RotateNoneFlipY;
        int xSign = 1, ySign = 1;
        if (destHeight < 0) {
            flip = Gdiplus::RotateNoneFlipNone;
            ySign = -1;
            destHeight = -destHeight;
        }
        if (destWidth < 0) {
            flip ^= 4;
            xSign = -1;
            destWidth = -destWidth;
        }
        api.ImageRotateFlip(bitmap.get(), static_cast<Gdiplus::RotateFlipType>(flip));

        Gdiplus::ColorMatrix m{};
        Attributes attributes(api);
        const bool recolour = grayScale != render::kGrayNone || LightAdjustment != 0.0f;
        auto lightRow = [&] {
            if (LightAdjustment != 0.0f)
                m.m[4][0] = m.m[4][1] = m.m[4][2] = LightAdjustment / 100.0f;
        };
        if (recolour && attributes.Create()) {
            if (grayScale == render::kGrayNone) {
                m.m[0][0] = m.m[1][1] = m.m[2][2] = 1.0f;
            } else {
                float wR, wG, wB;
                render::GrayScaleWeights(grayScale, wR, wG, wB);
                for (int j = 0; j < 3; ++j) {
                    m.m[0][j] = wR;
                    m.m[1][j] = wG;
                    m.m[2][j] = wB;
                }
            }
            m.m[3][3] = 1.0f;
            m.m[4][4] = 1.0f;
            lightRow();
            if (!SetMatrix(api, attributes, m)) attributes.reset();
        }

        auto draw = [&](int x, int y, int w, int h) {
            return api.DrawImageRectRectI(graphics.get(), bitmap.get(), x, y, w, h, SrcX, SrcY, srcWidth, srcHeight,
                                          Gdiplus::UnitPixel, attributes.get(), nullptr, nullptr) == Ok;
        };
        if (Angle == 0.0f && Opacity == 100) {
            result = draw(destX, destY, destWidth, destHeight);
        } else {
            if (attributes.get() == nullptr) {
                if (!attributes.Create()) return false;
                m = {};
                m.m[0][0] = m.m[1][1] = m.m[2][2] = m.m[4][4] = 1.0f;
                lightRow();
            }
            m.m[3][3] = static_cast<float>(Opacity / 100.0);
            if (!SetMatrix(api, attributes, m)) return false;
            if (Angle == 0.0f) {
                result = draw(destX, destY, destWidth, destHeight);
            } else {
                // Turning by Angle + 180 and drawing with negative extents turns by Angle
                // about the centre of the destination rectangle.
                if (api.RotateWorldTransform(graphics.get(), Angle + 180.0f, Gdiplus::MatrixOrderPrepend) == Ok)
                    api.TranslateWorldTransform(graphics.get(),
                                                  static_cast<float>(double(destX) + (destWidth / 2) * xSign),
                                                  static_cast<float>(double(destY) + (destHeight / 2) * ySign),
                                                  Gdiplus::MatrixOrderAppend);
                result = draw(destWidth / 2, destHeight / 2, -destWidth, -destHeight);
            }
        }
    }
    return result;
}

}  // namespace lumio
