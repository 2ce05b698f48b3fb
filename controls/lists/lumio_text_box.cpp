// LumioTextBox's members, persistence, edit window and painting.
#include "lumio_text_box.h"

#include "basic_arith.h"
#include "class_table.h"
#include "run_time_error.h"
#include "stock_members.h"
#include "subclass_proc_member.h"

namespace lumio::lists {

namespace {

namespace id = tlb::dispid::LumioTextBox;

const MemberTable& Members() {
    static const MemberTable table = [] {
        using T = LumioTextBox;
        MemberTable t;
        t.Add(SubclassProcMember<T>(id::zSubclass_Proc))
            .Property(id::BackColor, L"BackColor", &T::get_BackColor, &T::put_BackColor)
            .Property(id::ForeColor, L"ForeColor", &T::get_ForeColor, &T::put_ForeColor)
            .Property(id::Enabled, L"Enabled", &T::get_Enabled, &T::put_Enabled)
            .Property(id::Font, L"Font", &T::get_Font, &T::putref_Font)
            .Method(id::Refresh, L"Refresh", &T::Refresh);
        StockMembers(t).hWnd(id::hWnd);
        t.Property(id::PasswordChar, L"PasswordChar", &T::get_PasswordChar, &T::put_PasswordChar)
            .Property(id::Text, L"Text", &T::get_Text, &T::put_Text)
            .Property(id::MultiLine, L"MultiLine", &T::get_MultiLine, &T::put_MultiLine)
            .Property(id::BorderStyle, L"BorderStyle", &T::get_BorderStyle, &T::put_BorderStyle)
            .Property(id::ScrollBars, L"ScrollBars", &T::get_ScrollBars, &T::put_ScrollBars)
            .Method(id::Initialize, L"Initialize", &T::Initialize);
        return t;
    }();
    return table;
}

const ControlClassInfo kInfo{&tlb::CLSID_LumioTextBox, &tlb::IID_LumioTextBox, &tlb::DIID_LumioTextBoxEvents,
                             L"LumioTextBox", tlb::LumioTextBox_MiscStatus, false, &Members()};

const bool kRegistered = [] {
    RegisterControlClass({&tlb::CLSID_LumioTextBox, L"LumioTextBox", tlb::LumioTextBox_MiscStatus,
                          tlb::LumioTextBox_ToolboxBitmap, &LumioTextBox::Create});
    return true;
}();

constexpr OLE_COLOR kDefaultBackColor = 0x80000005;
constexpr OLE_COLOR kDefaultForeColor = 0x80000008;
constexpr COLORREF kBorderColour = RGB(165, 172, 178);

// Text crosses into the edit window in the system's ANSI code page.
std::string ToAnsi(const std::wstring& s) {
    if (s.empty()) return {};
    const int n = WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring FromAnsi(const char* s, int length) {
    if (length <= 0) return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, s, length, nullptr, 0);
    std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, s, length, out.data(), n);
    return out;
}

// The font's face, size, weight, style and character set for the edit window.
LOGFONTW LogFontOf(IFontDisp* disp, HDC dc) {
    LOGFONTW lf{};
    ComPtr<IFont> font = ComPtr<IFontDisp>(disp).As<IFont>();
    if (!font) return lf;
    BSTR name = nullptr;
    if (SUCCEEDED(font->get_Name(&name)) && name) {
        const size_t length = SysStringLen(name);
        const size_t keep = FaceNameKeep(reinterpret_cast<const char16_t*>(name), length);
        for (size_t i = 0; i < keep; ++i) lf.lfFaceName[i] = name[i];
    }
    SysFreeString(name);
    CY size{};
    font->get_Size(&size);
    const int32_t points = RoundToLong(static_cast<double>(size.int64) / 10000.0);
    lf.lfHeight = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
    BOOL b = FALSE;
    font->get_Bold(&b);
    lf.lfWeight = b ? FW_BOLD : FW_NORMAL;
    b = FALSE;
    font->get_Italic(&b);
    lf.lfItalic = b ? 1 : 0;
    b = FALSE;
    font->get_Underline(&b);
    lf.lfUnderline = b ? 1 : 0;
    b = FALSE;
    font->get_Strikethrough(&b);
    lf.lfStrikeOut = b ? 1 : 0;
    SHORT charset = 0;
    font->get_Charset(&charset);
    lf.lfCharSet = static_cast<BYTE>(charset);
    return lf;
}

}  // namespace

LumioTextBox::LumioTextBox() : ControlBase(kInfo) {}

HRESULT LumioTextBox::Create(IUnknown* outer, REFIID iid, void** out) {
    return ControlBase::Create<LumioTextBox>(outer, iid, out);
}

// --- properties

void LumioTextBox::put_BackColor(OLE_COLOR v) {
    m_BackColor = v;
    SetSurfaceColors(m_BackColor, m_ForeColor);
    PropertyChanged(L"BackColor");
    pPaint();
}

void LumioTextBox::put_ForeColor(OLE_COLOR v) {
    m_ForeColor = v;
    SetSurfaceColors(m_BackColor, m_ForeColor);
    PropertyChanged(L"ForeColor");
    pPaint();
}

void LumioTextBox::put_Enabled(bool v) {
    SetWindowEnabled(v);
    PropertyChanged(L"Enabled");
}

void LumioTextBox::putref_Font(ComPtr<IFontDisp> v) {
    SetFont(v.get());
    pApplyFont();
    PropertyChanged(L"Font");
    pPaint();
}

void LumioTextBox::pApplyFont() {
    if (!m_hEdit) return;
    HDC dc = GetDC(hWnd());
    const LOGFONTW lf = LogFontOf(Font().get(), dc);
    ReleaseDC(hWnd(), dc);
    HFONT made = CreateFontIndirectW(&lf);
    if (!made) return;
    // The edit window lets go of the old font before it is deleted.
    SendMessageW(m_hEdit, WM_SETFONT, reinterpret_cast<WPARAM>(made), TRUE);
    m_hFont.reset(made);
}

void LumioTextBox::Refresh() { pPaint(); }

void LumioTextBox::put_PasswordChar(std::wstring v) {
    if (v.size() > 1) return;
    m_PasswordChar = std::move(v);
    pApplyPasswordChar();
    PropertyChanged(L"PasswordChar");
}

void LumioTextBox::pApplyPasswordChar() {
    if (!m_hEdit) return;
    WPARAM code = 0;
    const std::string a = ToAnsi(m_PasswordChar);
    for (unsigned char byte : a) code = (code << 8) | byte;  // a double-byte character as lead, trail
    SendMessageA(m_hEdit, EM_SETPASSWORDCHAR, code, 0);
    InvalidateRect(m_hEdit, nullptr, TRUE);
}

std::wstring LumioTextBox::get_Text() {
    if (m_hEdit) {
        // The whole text, however long.
        const int length = GetWindowTextLengthA(m_hEdit);
        std::string buffer(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
        const int got = GetWindowTextA(m_hEdit, buffer.data(), length + 1);
        m_Text = FromAnsi(buffer.data(), got);
    }
    return m_Text;
}

void LumioTextBox::put_Text(std::wstring v) {
    m_Text = std::move(v);
    if (!Ambient().UserMode()) pPaint();
    const std::string a = ToAnsi(m_Text);
    if (m_hEdit) SetWindowTextA(m_hEdit, a.c_str());
    m_Text = FromAnsi(a.data(), static_cast<int>(a.size()));
    PropertyChanged(L"Text");
}

void LumioTextBox::put_MultiLine(bool v) {
    m_MultiLine = v;
    PropertyChanged(L"MultiLine");
}

void LumioTextBox::put_BorderStyle(short v) {
    m_BorderStyle = v;
    PropertyChanged(L"BorderStyle");
}

void LumioTextBox::put_ScrollBars(eScrollBar v) {
    if (Ambient().UserMode()) Raise(kErrNotSettableAtRunTime);
    m_ScrollBars = v;
    PropertyChanged(L"ScrollBars");
}

// --- the edit window

bool LumioTextBox::pCreateEdit() {
    const uint32_t style = EditStyle(m_MultiLine, static_cast<int32_t>(m_ScrollBars));
    const std::string text = ToAnsi(m_Text);
    m_hEdit = CreateWindowExA(0, "EDIT", text.c_str(), style, 0, 0, ScaleWidth(), ScaleHeight(), hWnd(), nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    m_Text = FromAnsi(text.data(), static_cast<int>(text.size()));
    if (!m_hEdit) return false;
    ShowWindow(m_hEdit, SW_SHOW);
    pApplyFont();
    pApplyPasswordChar();
    return true;
}

void LumioTextBox::pDestroyEdit() {
    if (m_hEdit && DestroyWindow(m_hEdit)) m_hEdit = nullptr;
}

bool LumioTextBox::Initialize() {
    if (m_Initialized || !hWnd()) return false;
    const bool made = pCreateEdit();
    if (!m_hEdit) return made;
    HWND own = hWnd();
    if (m_Subclass.pAttachThunk(own) >= 0) {
        m_Subclass.pWatchMessage(own, WM_MOUSEACTIVATE, mpAfter);
        m_Subclass.pWatchMessage(own, WM_SETFOCUS, mpAfter);
    }
    if (m_Subclass.pAttachThunk(m_hEdit) >= 0) {
        for (UINT msg : {WM_SIZE, WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN,
                         WM_MOUSEMOVE, WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP, WM_SETFOCUS})
            m_Subclass.pWatchMessage(m_hEdit, msg, mpBefore);
    }
    m_Mouse.Reset();
    m_Initialized = true;
    return made;
}

// --- messages

void LumioTextBox::zSubclass_Proc(bool, bool&, LRESULT&, HWND& lng_hWnd, UINT& uMsg, WPARAM& wParam, LPARAM&) {
    namespace ev = tlb::dispid::LumioTextBoxEvents;
    if (lng_hWnd == hWnd()) {
        if (uMsg == WM_SETFOCUS && m_hEdit) SetFocus(m_hEdit);
        return;
    }
    if (lng_hWnd != m_hEdit) return;
    // Copies: what a handler writes back does not reach the edit window.
    switch (uMsg) {
    case WM_KEYDOWN:
    case WM_KEYUP: {
        short code = static_cast<short>(wParam & 0x7FFF);
        short shift = pShiftState();
        RaiseEvent(uMsg == WM_KEYDOWN ? ev::KeyDown : ev::KeyUp, {ByRef(code), ByRef(shift)});
        break;
    }
    case WM_CHAR: {
        RaiseEvent(ev::Change);
        short ascii = static_cast<short>(wParam & 0x7FFF);
        RaiseEvent(ev::KeyPress, {ByRef(ascii)});
        break;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        pMouseEvent(ev::MouseDown, uMsg);
        break;
    case WM_MOUSEMOVE: {
        const POINT p = pCursorInEdit();
        if (m_Mouse.Moved(p.x, p.y)) pMouseEvent(ev::MouseMove, uMsg);
        break;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        pMouseEvent(ev::MouseUp, uMsg);
        RaiseEvent(ev::Click);
        break;
    default:
        break;
    }
}

POINT LumioTextBox::pCursorInEdit() const {
    POINT p{};
    GetCursorPos(&p);
    ScreenToClient(m_hEdit, &p);
    return p;
}

void LumioTextBox::pMouseEvent(DISPID id, UINT uMsg) {
    const POINT p = pCursorInEdit();
    short button = pMouseButton(uMsg);
    short shift = pShiftState();
    float x = static_cast<float>(p.x), y = static_cast<float>(p.y);
    RaiseEvent(id, {ByRef(button), ByRef(shift), ByRef(x), ByRef(y)});
}

short LumioTextBox::pMouseButton(UINT uMsg) const {
    switch (uMsg) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: return kLeftButton;
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: return kRightButton;
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: return kMiddleButton;
    default: break;
    }
    if (GetAsyncKeyState(VK_LBUTTON) < 0) return kLeftButton;
    if (GetAsyncKeyState(VK_RBUTTON) < 0) return kRightButton;
    if (GetAsyncKeyState(VK_MBUTTON) < 0) return kMiddleButton;
    return 0;
}

short LumioTextBox::pShiftState() {
    short s = 0;
    if (GetAsyncKeyState(VK_SHIFT) < 0) s |= kShiftMask;
    if (GetAsyncKeyState(VK_MENU) < 0) s |= kAltMask;
    if (GetAsyncKeyState(VK_CONTROL) < 0) s |= kCtrlMask;
    return s;
}

// --- life cycle

void LumioTextBox::OnInitialize() {
    SetAutoRedraw(true);
    SetSurfaceColors(m_BackColor, m_ForeColor);
}

void LumioTextBox::OnInitProperties() {
    m_MultiLine = false;
    m_BorderStyle = 1;
    m_ScrollBars = eScrollBar::None;
    m_Text = Ambient().DisplayName();
    pPaint();
}

void LumioTextBox::OnReadProperties(PropertyReader& bag) {
    m_BackColor = static_cast<OLE_COLOR>(bag.ReadLong(L"BackColor", static_cast<long>(kDefaultBackColor)));
    m_ForeColor = static_cast<OLE_COLOR>(bag.ReadLong(L"ForeColor", static_cast<long>(kDefaultForeColor)));
    SetSurfaceColors(m_BackColor, m_ForeColor);
    SetWindowEnabled(bag.ReadBool(L"Enabled", true));
    SetFont(bag.ReadFont(L"Font", Ambient().Font().get()).get());
    pApplyFont();
    const std::wstring password = bag.ReadString(L"PasswordChar", L"");
    if (password.size() <= 1) m_PasswordChar = password;
    pApplyPasswordChar();
    m_Text = bag.ReadString(L"Text", L"Text1");
    m_MultiLine = bag.ReadBool(L"MultiLine", false);
    m_BorderStyle = bag.ReadInteger(L"BorderStyle", 1);
    m_ScrollBars = static_cast<eScrollBar>(bag.ReadLong(L"ScrollBars", 0));
    if (Ambient().UserMode()) Initialize();
    pPaint();
}

void LumioTextBox::OnWriteProperties(PropertyWriter& bag) {
    bag.Write(L"BackColor", Variant::Long(static_cast<long>(m_BackColor)),
              Variant::Long(static_cast<long>(kDefaultBackColor)));
    bag.Write(L"ForeColor", Variant::Long(static_cast<long>(m_ForeColor)),
              Variant::Long(static_cast<long>(kDefaultForeColor)));
    bag.Write(L"Enabled", Variant::Bool(WindowEnabled()), Variant::Bool(true));
    bag.Write(L"Font", Variant::Object(Font().get()), Variant::Object(Ambient().Font().get()));
    bag.Write(L"PasswordChar", Variant::String(m_PasswordChar), Variant::String(L""));
    bag.Write(L"Text", Variant::String(m_Text), Variant::String(L"Text1"));
    bag.Write(L"MultiLine", Variant::Bool(m_MultiLine), Variant::Bool(false));
    bag.Write(L"BorderStyle", Variant::Long(m_BorderStyle), Variant::Long(1));
    bag.Write(L"ScrollBars", Variant::Long(static_cast<long>(m_ScrollBars)), Variant::Long(0));
}

void LumioTextBox::OnTerminate() {
    if (!m_hEdit) return;
    try {
        m_Subclass.pDetachAllThunks();
    } catch (...) {
        // Nothing was attached; the edit window and its font still go.
    }
    // The edit window goes before the font it draws with.
    pDestroyEdit();
    m_hFont.reset();
}

// --- size and paint

void LumioTextBox::OnResize() {
    const int32_t w = ScaleWidth(), h = ScaleHeight();
    m_TextRect = DesignTextRect(w, h, m_BorderStyle);
    if (HRGN region = CreateRoundRectRgn(0, 0, w + 1, h + 1, 2, 2))
        if (!SetWindowRgn(hWnd(), region, TRUE)) DeleteObject(region);
    if (m_hEdit) {
        const EditPlace e = EditPlacement(w, h, m_BorderStyle);
        MoveWindow(m_hEdit, e.x, e.y, e.width, e.height, TRUE);
    }
    pPaint();
}

void LumioTextBox::pPaint() {
    if (!hWnd()) return;
    Cls();
    HDC dc = Hdc();
    const int32_t w = ScaleWidth(), h = ScaleHeight();
    if (!Ambient().UserMode()) {
        RECT all{0, 0, w, h};  // through (w - 1, h - 1)
        gdi::OwnedObject<HBRUSH> white(CreateSolidBrush(RGB(255, 255, 255)));
        FillRect(dc, &all, white.get());
        RECT text{m_TextRect.left, m_TextRect.top, m_TextRect.right, m_TextRect.bottom};
        DrawTextW(dc, m_Text.c_str(), static_cast<int>(m_Text.size()), &text, 0);
    }
    if (m_BorderStyle != 0) {
        gdi::OwnedObject<HPEN> pen(CreatePen(PS_SOLID, 1, kBorderColour));
        HGDIOBJ oldPen = SelectObject(dc, pen.get());
        HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, 0, 0, w, h);  // the outline runs through (w - 1, h - 1)
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
    }
    Invalidate();
}

}  // namespace lumio::lists
