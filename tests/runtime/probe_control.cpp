#include "probe_control.h"

#include "imaging/vb_math.h"
#include "run_time_error.h"

namespace probe {

namespace {

using lumio::MemberTable;

const MemberTable& Members() {
    static const MemberTable table = [] {
        MemberTable t;
        t.Property(kNumber, L"Number", &ProbeControl::Number, &ProbeControl::SetNumber)
            .Property(kText, L"Text", &ProbeControl::Text, &ProbeControl::SetText)
            .Property(kRatio, L"Ratio", &ProbeControl::Ratio, &ProbeControl::SetRatio)
            .Property(kFlag, L"Flag", &ProbeControl::Flag, &ProbeControl::SetFlag)
            .Property(DISPID_FONT, L"Font", &ProbeControl::FontProp, &ProbeControl::SetFontProp)
            .Property(kPicture, L"Picture", &ProbeControl::Picture, &ProbeControl::SetPicture)
            .Property(DISPID_MOUSEPOINTER, L"MousePointer", &ProbeControl::MousePointerProp,
                      &ProbeControl::SetMousePointerProp)
            .ReadOnly(DISPID_HWND, L"hWnd", &ProbeControl::HWnd)
            .Method(kFail, L"Fail", &ProbeControl::Fail)
            .Method(kPing, L"Ping", &ProbeControl::Ping)
            .ReadOnly(kLastPing, L"LastPing", &ProbeControl::LastPing)
            .Method(kResizeTo, L"ResizeTo", &ProbeControl::ResizeTo)
            .Method(kDrawMark, L"DrawMark", &ProbeControl::DrawMark)
            .Method(kTwice, L"Twice", &ProbeControl::Twice)
            .Property(kItem, L"Item", &ProbeControl::Item, &ProbeControl::SetItem)
            .Method(kJoin, L"Join", &ProbeControl::Join)
            .Method(kBump, L"Bump", &ProbeControl::Bump);
        return t;
    }();
    return table;
}

const lumio::ControlClassInfo kInfo{&kClsid, &kIid, &kEventsIid, L"ProbeControl",
                                    OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_RECOMPOSEONRESIZE,
                                    true, &Members()};

std::wstring Num(double x) {
    wchar_t buf[32];
    swprintf(buf, 32, L"%g", x);
    return buf;
}

}  // namespace

std::vector<std::wstring>& Log() {
    static std::vector<std::wstring> log;
    return log;
}

ProbeControl::ProbeControl() : ControlBase(kInfo) {}

HRESULT Create(IUnknown* outer, REFIID iid, void** out) { return lumio::ControlBase::Create<ProbeControl>(outer, iid, out); }

std::wstring ProbeControl::Item(long i) {
    if (i < 0 || i > 2) lumio::Raise(lumio::kErrSubscriptOutOfRange);
    return items_[i];
}

void ProbeControl::SetItem(long i, std::wstring v) {
    if (i < 0 || i > 2) lumio::Raise(lumio::kErrSubscriptOutOfRange);
    items_[i] = std::move(v);
    PropertyChanged(L"Item");
}

void ProbeControl::Fail(long number) {
    if (number == 0) lumio::Raise(lumio::kErrInvalidPropertyValue);
    lumio::RaiseExact(number, L"Probe.Fail", L"probe failure " + std::to_wstring(number));
}

short ProbeControl::Twice(short v) { return lumio::vb::Mul<int16_t>(v, 2); }

void ProbeControl::Ping() {
    short value = 1;
    RaiseEvent(kPingEvent, {lumio::ByRef(value)});
    last_ping_ = value;
}

void ProbeControl::OnInitialize() { Log().push_back(IsWindow(hWnd()) ? L"Initialize+window" : L"Initialize"); }

void ProbeControl::OnInitProperties() {
    Log().push_back(IsWindow(hWnd()) ? L"InitProperties+window" : L"InitProperties");
    number_ = 7;
    text_ = Ambient().DisplayName();
    ratio_ = 1;
    flag_ = true;
    SetFont(Ambient().Font().get());
    if (Ambient().UserMode()) Log().push_back(L"UserModeSetup");
}

void ProbeControl::OnReadProperties(lumio::PropertyReader& bag) {
    Log().push_back(IsWindow(hWnd()) ? L"ReadProperties+window" : L"ReadProperties");
    number_ = bag.ReadLong(L"Number", 7);
    text_ = bag.ReadString(L"TextKey", Ambient().DisplayName());
    ratio_ = bag.ReadSingle(L"Ratio", 1);
    flag_ = bag.ReadBool(L"Flag", true);
    SetFont(bag.ReadFont(L"Font", Ambient().Font().get()).get());
    picture_ = bag.ReadPicture(L"Picture", nullptr);
    if (number_ < 0) lumio::RaiseExact(static_cast<int32_t>(number_), L"Probe.Read", L"");
    if (Ambient().UserMode()) Log().push_back(L"UserModeSetup");
}

void ProbeControl::OnWriteProperties(lumio::PropertyWriter& bag) {
    Log().push_back(L"WriteProperties");
    using lumio::Variant;
    bag.Write(L"Number", Variant::Long(number_), Variant::Long(7));
    bag.Write(L"TextKey", Variant::String(text_), Variant::String(Ambient().DisplayName()));
    bag.Write(L"Ratio", Variant::Single(ratio_), Variant::Long(1));
    bag.Write(L"Flag", Variant::Bool(flag_), Variant::Bool(true));
    bag.Write(L"Font", Variant::Object(Font().get()), Variant::Object(Ambient().Font().get()));
    bag.Write(L"Picture", Variant::Object(picture_.get()), Variant::Object(nullptr));
}

void ProbeControl::OnTerminate() { Log().push_back(L"Terminate"); }
void ProbeControl::OnResize() { Log().push_back(L"Resize " + Num(ScaleWidth()) + L"x" + Num(ScaleHeight())); }
void ProbeControl::OnShow() { Log().push_back(L"Show"); }
void ProbeControl::OnHide() { Log().push_back(L"Hide"); }

void ProbeControl::OnPaint() {
    Log().push_back(L"Paint");
    Cls();
}

void ProbeControl::DrawMark(bool persistent) {
    SetAutoRedraw(persistent);
    RECT rc{0, 0, 10, 10};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(Hdc(), &rc, red);
    DeleteObject(red);
    Invalidate();
}

void ProbeControl::OnMouseDown(short button, short shift, float x, float y) {
    Log().push_back(L"MouseDown " + Num(button) + L" " + Num(shift) + L" " + Num(x) + L" " + Num(y) +
                    (HasFocus() ? L" focused" : L"") + (HasCapture() ? L" captured" : L""));
    RaiseEvent(DISPID_MOUSEDOWN, {lumio::ByRef(button), lumio::ByRef(shift), lumio::ByRef(x), lumio::ByRef(y)});
}

void ProbeControl::OnMouseMove(short button, short, float x, float y) {
    Log().push_back(L"MouseMove " + Num(button) + L" " + Num(x) + L" " + Num(y));
}

void ProbeControl::OnMouseUp(short button, short shift, float x, float y) {
    Log().push_back(L"MouseUp " + Num(button) + (HasCapture() ? L" captured" : L""));
    RaiseEvent(DISPID_MOUSEUP, {lumio::ByRef(button), lumio::ByRef(shift), lumio::ByRef(x), lumio::ByRef(y)});
}

void ProbeControl::OnClick() {
    Log().push_back(L"Click");
    RaiseEvent(DISPID_CLICK);
}

void ProbeControl::OnDblClick() { Log().push_back(L"DblClick"); }

void ProbeControl::OnKeyDown(short& code, short shift) {
    Log().push_back(L"KeyDown " + Num(code) + L" " + Num(shift));
    RaiseEvent(DISPID_KEYDOWN, {lumio::ByRef(code), lumio::ByRef(shift)});
    Log().push_back(L"KeyDown read back " + Num(code));
}

void ProbeControl::OnKeyPress(short& ascii) {
    Log().push_back(L"KeyPress " + Num(ascii));
    RaiseEvent(DISPID_KEYPRESS, {lumio::ByRef(ascii)});
    Log().push_back(L"KeyPress read back " + Num(ascii));
}

void ProbeControl::OnKeyUp(short& code, short) { Log().push_back(L"KeyUp " + Num(code)); }
void ProbeControl::OnGotFocus() { Log().push_back(L"GotFocus"); }
void ProbeControl::OnLostFocus() { Log().push_back(L"LostFocus"); }
void ProbeControl::OnAccessKeyPress(short key) { Log().push_back(L"AccessKeyPress " + Num(key)); }
void ProbeControl::OnAmbientChanged(const std::wstring& name) { Log().push_back(L"AmbientChanged " + name); }

}  // namespace probe
