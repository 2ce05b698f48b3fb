// LumioButton's life cycle: a new button, reading and writing the bag,
// run-time set-up, resizing and termination.
#include "access_key.h"
#include "export_probe.h"
#include "lumio_button.h"
#include "run_time_error.h"

namespace lumio::buttons {

namespace {
constexpr OLE_COLOR kDefaultBackColor = 0xE6E6E6;
constexpr OLE_COLOR kDefaultMaskColor = 0xC0C0C0;
constexpr int kMinimumSize = 15;  // pixels

// A stored opacity is a fraction: out-of-range values from a bag are brought
// back into what the property itself allows (0 only without a picture).
float ClampStoredOpacity(float v) {
    if (!(v > 0)) return 0;
    if (v < 0.1f) return 0.1f;
    if (v > 1.0f) return 1.0f;
    return v;
}
}  // namespace

void LumioButton::OnInitialize() {
    m_bIsNT = pIsNT();
    m_bReady = false;
}

void LumioButton::OnInitProperties() {
    m_BackColor = kDefaultBackColor;
    m_Caption = Ambient().DisplayName();
    m_CheckBoxMode = false;
    m_Enabled = true;
    // Only the face name of the host's font; size and style stay the button's own.
    if (ComPtr<IFont> ambient = Ambient().Font().As<IFont>())
        if (ComPtr<IFont> own = Font().As<IFont>()) {
            Bstr name;
            if (SUCCEEDED(ambient->get_Name(name.put()))) own->put_Name(name.get());
        }
    m_ForeColor = Ambient().ForeColor();
    m_MaskColor = kDefaultMaskColor;
    m_PicAlign = ePicAlignments::elaLeftOfCaption;
    m_PicDown = m_PicHot = m_PicNormal = nullptr;
    m_PicOpacity = 1.0f;
    m_PicSize = ePictureSizes::elpNormal;
    m_UseMask = true;
    m_Value = false;
    SetSurfaceColors(m_BackColor, m_ForeColor);
    // A button made at run time hovers and follows its form like one read
    // from a bag; without this it would keep its hot look after the mouse left.
    if (Ambient().UserMode()) pRunTimeSetup();
    pSetColors();
    m_bReady = true;
}

void LumioButton::OnReadProperties(PropertyReader& bag) {
    m_BackColor = static_cast<OLE_COLOR>(bag.ReadLong(L"BackColor", static_cast<long>(kDefaultBackColor)));
    m_ButtonShape = static_cast<eButtonShapes>(bag.ReadLong(L"ButtonShape", 0));
    m_Caption = bag.ReadString(L"Caption", Ambient().DisplayName());
    m_CheckBoxMode = bag.ReadBool(L"CheckBox", false);
    m_Enabled = bag.ReadBool(L"Enabled", true);
    m_ForeColor = static_cast<OLE_COLOR>(bag.ReadLong(L"ForeColor", static_cast<long>(Ambient().ForeColor())));
    m_HandPointer = bag.ReadBool(L"HandPointer", false);
    m_MaskColor = static_cast<OLE_COLOR>(bag.ReadLong(L"MaskColor", static_cast<long>(kDefaultMaskColor)));
    m_PicAlign = static_cast<ePicAlignments>(bag.ReadLong(L"PicAlign", 4));
    m_PicDown = bag.ReadPicture(L"PicDown", nullptr);
    m_PicHot = bag.ReadPicture(L"PicHot", nullptr);
    m_PicNormal = bag.ReadPicture(L"PicNormal", nullptr);
    m_PicOpacity = ClampStoredOpacity(bag.ReadSingle(L"PicOpacity", 1.0f));
    m_PicSize = static_cast<ePictureSizes>(bag.ReadLong(L"PicSize", 0));
    m_PicSizeH = bag.ReadLong(L"PicSizeH", 0);
    m_PicSizeW = bag.ReadLong(L"PicSizeW", 0);
    m_State = bag.ReadLong(L"State", 0);
    m_UseMask = bag.ReadBool(L"UseMask", true);
    m_Value = bag.ReadBool(L"Value", false);
    SetFont(bag.ReadFont(L"Font", Ambient().Font().get()).get());
    SetMouseIcon(bag.ReadPicture(L"MouseIcon", nullptr).get());
    SetMousePointer(bag.ReadInteger(L"MousePointer", 0));
    SetAccessKeys(pGetAccessKey(m_Caption));
    SetWindowEnabled(m_Enabled);
    SetSurfaceColors(m_BackColor, m_ForeColor);
    if (Ambient().UserMode()) pRunTimeSetup();
    pSetColors();
    m_bRecalc = true;
    pRedraw(-1, true);
    m_bReady = true;
}

void LumioButton::OnWriteProperties(PropertyWriter& bag) {
    bag.Write(L"BackColor", Variant::Long(static_cast<long>(m_BackColor)), Variant::Long(static_cast<long>(kDefaultBackColor)));
    bag.Write(L"ButtonShape", Variant::Long(static_cast<long>(m_ButtonShape)), Variant::Long(0));
    bag.Write(L"Caption", Variant::String(m_Caption), Variant::String(Ambient().DisplayName()));
    bag.Write(L"CheckBox", Variant::Bool(m_CheckBoxMode), Variant::Bool(false));
    bag.Write(L"Enabled", Variant::Bool(m_Enabled), Variant::Bool(true));
    bag.Write(L"Font", Variant::Object(Font().get()), Variant::Object(Ambient().Font().get()));
    bag.Write(L"ForeColor", Variant::Long(static_cast<long>(m_ForeColor)),
              Variant::Long(static_cast<long>(Ambient().ForeColor())));
    bag.Write(L"HandPointer", Variant::Bool(m_HandPointer), Variant::Bool(false));
    bag.Write(L"MaskColor", Variant::Long(static_cast<long>(m_MaskColor)), Variant::Long(static_cast<long>(kDefaultMaskColor)));
    bag.Write(L"MouseIcon", Variant::Object(MouseIcon().get()), Variant::Object(nullptr));
    bag.Write(L"MousePointer", Variant::Int(MousePointer()), Variant::Long(0));
    bag.Write(L"PicAlign", Variant::Long(static_cast<long>(m_PicAlign)), Variant::Long(4));
    bag.Write(L"PicDown", Variant::Object(m_PicDown.get()), Variant::Object(nullptr));
    bag.Write(L"PicHot", Variant::Object(m_PicHot.get()), Variant::Object(nullptr));
    bag.Write(L"PicNormal", Variant::Object(m_PicNormal.get()), Variant::Object(nullptr));
    bag.Write(L"PicOpacity", Variant::Single(m_PicOpacity), Variant::Long(1));
    bag.Write(L"PicSize", Variant::Long(static_cast<long>(m_PicSize)), Variant::Long(0));
    bag.Write(L"PicSizeH", Variant::Long(m_PicSizeH), Variant::Long(0));
    bag.Write(L"PicSizeW", Variant::Long(m_PicSizeW), Variant::Long(0));
    bag.Write(L"State", Variant::Long(m_State), Variant::Long(0));
    bag.Write(L"UseMask", Variant::Bool(m_UseMask), Variant::Bool(true));
    bag.Write(L"Value", Variant::Bool(m_Value), Variant::Bool(false));
}

void LumioButton::pRunTimeSetup() {
    if (m_HandPointer) {
        m_hHandCursor = LoadCursorW(nullptr, IDC_HAND);
        if (!m_hHandCursor) m_HandPointer = false;
    }
    m_bUserTrack = ExportExists("TrackMouseEvent", "User32");
    if (!m_bUserTrack && !ExportExists("_TrackMouseEvent", "Comctl32"))
        RaiseExact(-1, L"System does not support TrackMouseEvent.", L"");
    pHookWindows();
}

// Hooks go whenever they exist: the host may have left user mode (or lost
// its ambients) by now. The hand cursor is the system's and stays.
void LumioButton::OnTerminate() {
    try {
        m_Hooks.pUnhookAll();
    } catch (...) {
    }
}

void LumioButton::OnResize() {
    m_Width = ScaleWidth();
    m_Height = ScaleHeight();
    if (m_Width >= kMinimumSize && m_Height >= kMinimumSize) {
        m_bRecalc = true;
        if (Ambient().UserMode() || m_bReady) pRedraw(-1, true);
        return;
    }
    if (m_Height < kMinimumSize) ResizeSelf(m_Width, kMinimumSize);
    if (ScaleWidth() < kMinimumSize) ResizeSelf(kMinimumSize, ScaleHeight());
}

}  // namespace lumio::buttons
