// LumioButton's properties.
#include "lumio_button.h"

#include <cmath>

#include "access_key.h"
#include "basic_arith.h"
#include "colour_math.h"
#include "ole_colour_win.h"
#include "run_time_error.h"

namespace lumio::buttons {

namespace {
bool IsNone(IPictureDisp* pic) {
    if (!pic) return true;
    ComPtr<IPicture> p = ComPtr<IPictureDisp>(pic).As<IPicture>();
    OLE_HANDLE h = 0;
    return !p || FAILED(p->get_Handle(&h)) || h == 0;
}

SIZE HimetricSize(IPictureDisp* pic) {
    SIZE s{};
    ComPtr<IPicture> p = ComPtr<IPictureDisp>(pic).As<IPicture>();
    if (p) {
        p->get_Width(&s.cx);
        p->get_Height(&s.cy);
    }
    return s;
}
}  // namespace

bool LumioButton::pHasNormalPicture() const { return !IsNone(m_PicNormal.get()); }

void LumioButton::put_BackColor(OLE_COLOR v) {
    m_BackColor = v;
    SetSurfaceColors(m_BackColor, m_ForeColor);
    pSetColors();
    pRedraw(-1, true);
    PropertyChanged(L"BackColor");
}

void LumioButton::put_ButtonShape(eButtonShapes v) {
    m_ButtonShape = v;
    Refresh();
    PropertyChanged(L"ButtonShape");
}

void LumioButton::put_Caption(std::wstring v) {
    m_Caption = std::move(v);
    SetAccessKeys(pGetAccessKey(m_Caption));
    Refresh();
    PropertyChanged(L"Caption");
}

void LumioButton::put_CheckBoxMode(bool v) {
    m_CheckBoxMode = v;
    if (!v && m_Value) {
        m_Value = false;
        PropertyChanged(L"Value");
    }
    pRedraw(-1, true);
    PropertyChanged(L"CheckBox");
}

// The field is what the button's other rules read (access keys, the
// palette, saving), so it is stored along with the window's state.
void LumioButton::put_Enabled(bool v) {
    m_Enabled = v;
    SetWindowEnabled(v);
    pRedraw(!v ? kStateDisabled : m_bHover ? kStateHot : kStateNormal, false);
    PropertyChanged(L"Enabled");
}

// The palette follows the colour whether or not the button is enabled: the
// disabled text colour is made from it.
void LumioButton::put_ForeColor(OLE_COLOR v) {
    m_ForeColor = v;
    SetSurfaceColors(m_BackColor, m_ForeColor);
    pSetColors();
    pRedraw(-1, true);
    PropertyChanged(L"ForeColor");
}

void LumioButton::put_HandPointer(bool v) {
    m_HandPointer = v;
    PropertyChanged(L"HandPointer");
}

void LumioButton::put_MaskColor(OLE_COLOR v) {
    m_MaskColor = v;
    m_cMask = static_cast<int32_t>(TranslateOleColor(v));
    pRedraw(-1, true);
    PropertyChanged(L"MaskColor");
}

void LumioButton::putref_MouseIcon(ComPtr<IPictureDisp> v) {
    SetMouseIcon(v.get());
    put_MousePointer(IsNone(v.get()) ? 0 : kCustomMousePointer);
    PropertyChanged(L"MouseIcon");
}

void LumioButton::put_MousePointer(short v) {
    if (v != kCustomMousePointer && m_HandPointer) put_HandPointer(false);
    SetMousePointer(v);
    PropertyChanged(L"MousePointer");
}

void LumioButton::put_PictureAlignment(ePicAlignments v) {
    m_PicAlign = v;
    Refresh();
    PropertyChanged(L"PicAlign");
}

void LumioButton::putref_PictureNormal(ComPtr<IPictureDisp> v) {
    if (IsNone(v.get())) {
        putref_PictureDown(nullptr);
        putref_PictureHot(nullptr);
        m_PicOpacity = 0;
    } else if (m_PicOpacity == 0) {
        m_PicOpacity = 1.0f;
    }
    m_PicNormal = IsNone(v.get()) ? nullptr : v;
    put_PictureSize(m_PicSize);
    Refresh();
    PropertyChanged(L"PicNormal");
    PropertyChanged(L"PicOpacity");
}

void LumioButton::pPutStatePicture(ComPtr<IPictureDisp> &slot, ComPtr<IPictureDisp> v, bool showing,
                                   const wchar_t *name) {
    if (IsNone(v.get())) {
        slot = nullptr;
    } else if (!pHasNormalPicture()) {
        // Without a normal picture the first one given becomes it.
        putref_PictureNormal(v);
        return;
    } else {
        SIZE a = HimetricSize(v.get()), n = HimetricSize(m_PicNormal.get());
        if (m_PicSize == ePictureSizes::elpNormal && (a.cx != n.cx || a.cy != n.cy))
            put_PictureSize(ePictureSizes::elpCustom);
        slot = v;
    }
    if (showing) pRedraw(-1, true);
    PropertyChanged(name);
}

void LumioButton::putref_PictureDown(ComPtr<IPictureDisp> v) { pPutStatePicture(m_PicDown, v, m_bPressed, L"PicDown"); }

void LumioButton::putref_PictureHot(ComPtr<IPictureDisp> v) { pPutStatePicture(m_PicHot, v, m_bHover, L"PicHot"); }

long LumioButton::get_PictureOpacity() { return RoundToLong(static_cast<double>(m_PicOpacity) * 100.0); }

void LumioButton::put_PictureOpacity(long v) {
    m_PicOpacity = pClamp(static_cast<float>(v), 10, 100) / 100.0f;
    pRedraw(-1, true);
    PropertyChanged(L"PicOpacity");
}

void LumioButton::put_PictureSize(ePictureSizes v) {
    if (!pHasNormalPicture()) {
        m_PicSize = ePictureSizes::elpNormal;
        m_PicSizeH = m_PicSizeW = 0;
    } else {
        m_PicSize = v;
        switch (v) {
        case ePictureSizes::elpNormal: {
            SIZE n = HimetricSize(m_PicNormal.get());
            m_PicSizeH = RoundToLong(ScaleY(n.cy, ScaleUnit::Himetric, ScaleUnit::Pixels));
            m_PicSizeW = RoundToLong(ScaleX(n.cx, ScaleUnit::Himetric, ScaleUnit::Pixels));
            break;
        }
        case ePictureSizes::elp16x16: m_PicSizeH = m_PicSizeW = 16; break;
        case ePictureSizes::elp24x24: m_PicSizeH = m_PicSizeW = 24; break;
        case ePictureSizes::elp32x32: m_PicSizeH = m_PicSizeW = 32; break;
        case ePictureSizes::elp48x48: m_PicSizeH = m_PicSizeW = 48; break;
        default: break;
        }
    }
    Refresh();
    PropertyChanged(L"PicSize");
    PropertyChanged(L"PicSizeH");
    PropertyChanged(L"PicSizeW");
}

void LumioButton::put_PictureSizeH(long v) {
    m_PicSize = ePictureSizes::elpCustom;
    m_PicSizeH = v;
    Refresh();
    PropertyChanged(L"PicSize");
    PropertyChanged(L"PicSizeH");
}

void LumioButton::put_PictureSizeW(long v) {
    m_PicSize = ePictureSizes::elpCustom;
    m_PicSizeW = v;
    Refresh();
    PropertyChanged(L"PicSize");
    PropertyChanged(L"PicSizeW");
}

void LumioButton::put_UseMaskColor(bool v) {
    m_UseMask = v;
    pRedraw(-1, true);
    PropertyChanged(L"UseMask");
}

void LumioButton::put_Value(bool v) {
    m_Value = v;
    if (!v || m_CheckBoxMode) {
        pRedraw(-1, true);
    } else if (Ambient().UserMode()) {
        m_LastButton = 1;
        pClick();
        // While the mouse or Space holds the button the click handler does
        // nothing; a plain button still never stays True.
        if (m_Value && !m_CheckBoxMode) {
            m_Value = false;
            pRedraw(-1, true);
        }
    } else {
        m_Value = false;
    }
    PropertyChanged(L"Value");
}

void LumioButton::Refresh() {
    m_bRecalc = true;
    pRedraw(-1, true);
}

}  // namespace lumio::buttons
