#include "stock_members.h"

#include <cmath>
#include <utility>

#include "basic_arith.h"
#include "control_base.h"
#include "run_time_error.h"

namespace lumio {
namespace {

bool IsEmptyPicture(IPictureDisp* pic) {
    if (!pic) return true;
    ComPtr<IPicture> p = ComPtr<IPictureDisp>(pic).As<IPicture>();
    OLE_HANDLE h = 0;
    return !p || FAILED(p->get_Handle(&h)) || h == 0;
}

}  // namespace

StockMembers::StockMembers(MemberTable& table, Changed changed, Report report)
    : table_(table), changed_(std::move(changed)), report_(report) {}

std::function<void(ControlBase&, std::initializer_list<const wchar_t*>)> StockMembers::After() const {
    return [changed = changed_, report = report_](ControlBase& b, std::initializer_list<const wchar_t*> keys) {
        if (changed) changed(b);
        if (report == Report::DirtyOnly) {
            b.MarkDirty();
            return;
        }
        for (const wchar_t* key : keys) b.PropertyChanged(key);
    };
}

StockMembers& StockMembers::Font(const StockFontIds& ids) {
    auto notify = [after = After()](ControlBase& b) { after(b, {L"Font"}); };
    {
        Member m;
        m.id = ids.font;
        m.name = L"Font";
        m.get = [](ControlBase& b, const MemberArgs&) { return VariantValue<ComPtr<IFontDisp>>::To(b.Font()); };
        m.putref = m.put = [notify](ControlBase& b, const MemberArgs&, const VARIANT& v) {
            b.SetFont(VariantValue<ComPtr<IFontDisp>>::From(v).get());
            notify(b);
        };
        table_.Add(std::move(m));
    }
    // One attribute: read through get, written through set, each on the control's IFont.
    auto attribute = [&](DISPID id, const wchar_t* name, auto get, auto set, auto check) {
        using T = decltype(get(std::declval<IFont*>()));
        Member m;
        m.id = id;
        m.name = name;
        m.get = [get](ControlBase& b, const MemberArgs&) {
            T value{};
            if (ComPtr<IFont> f = b.Font().As<IFont>()) value = get(f.get());
            return VariantValue<T>::To(value);
        };
        m.put = [set, check, notify](ControlBase& b, const MemberArgs&, const VARIANT& v) {
            T value = VariantValue<T>::From(v);
            check(value);
            if (ComPtr<IFont> f = b.Font().As<IFont>()) set(f.get(), value);
            notify(b);
        };
        table_.Add(std::move(m));
    };
    auto flag = [&](DISPID id, const wchar_t* name, HRESULT (STDMETHODCALLTYPE IFont::*get)(BOOL*),
                    HRESULT (STDMETHODCALLTYPE IFont::*put)(BOOL)) {
        attribute(
            id, name,
            [get](IFont* f) {
                BOOL v = FALSE;
                (f->*get)(&v);
                return v != FALSE;
            },
            [put](IFont* f, bool v) { (f->*put)(v); }, [](bool) {});
    };
    flag(ids.bold, L"FontBold", &IFont::get_Bold, &IFont::put_Bold);
    flag(ids.italic, L"FontItalic", &IFont::get_Italic, &IFont::put_Italic);
    attribute(
        ids.name, L"FontName",
        [](IFont* f) {
            Bstr name;
            f->get_Name(name.put());
            return name.str();
        },
        [](IFont* f, const std::wstring& v) { f->put_Name(Bstr(v).get()); }, [](const std::wstring&) {});
    attribute(
        ids.size, L"FontSize",
        [](IFont* f) {
            CY size{};
            f->get_Size(&size);
            return static_cast<float>(static_cast<double>(size.int64) / 10000.0);
        },
        [](IFont* f, float v) {
            CY size{};
            size.int64 = RoundToCurrency(static_cast<double>(v));
            f->put_Size(size);
        },
        // Converted first, as the font holds it: a size too large overflows
        // before it can be found invalid.
        [](float v) {
            if (RoundToCurrency(static_cast<double>(v)) <= 0) Raise(kErrInvalidPropertyValue);
        });
    flag(ids.strikethru, L"FontStrikethru", &IFont::get_Strikethrough, &IFont::put_Strikethrough);
    flag(ids.underline, L"FontUnderline", &IFont::get_Underline, &IFont::put_Underline);
    return *this;
}

StockMembers& StockMembers::hWnd(DISPID id) {
    Member m;
    m.id = id;
    m.name = L"hWnd";
    m.get = [](ControlBase& b, const MemberArgs&) {
        return VariantValue<long>::To(static_cast<long>(reinterpret_cast<LONG_PTR>(b.hWnd())));
    };
    table_.Add(std::move(m));
    return *this;
}

StockMembers& StockMembers::Mouse(DISPID pointer, DISPID icon, IconPointer rule) {
    auto after = After();
    {
        Member m;
        m.id = pointer;
        m.name = L"MousePointer";
        m.get = [](ControlBase& b, const MemberArgs&) { return VariantValue<short>::To(b.MousePointer()); };
        m.put = [after](ControlBase& b, const MemberArgs&, const VARIANT& v) {
            b.SetMousePointer(VariantValue<short>::From(v));
            after(b, {L"MousePointer"});
        };
        table_.Add(std::move(m));
    }
    Member m;
    m.id = icon;
    m.name = L"MouseIcon";
    m.get = [](ControlBase& b, const MemberArgs&) { return VariantValue<ComPtr<IPictureDisp>>::To(b.MouseIcon()); };
    m.putref = m.put = [after, rule](ControlBase& b, const MemberArgs&, const VARIANT& v) {
        ComPtr<IPictureDisp> pic = VariantValue<ComPtr<IPictureDisp>>::From(v);
        b.SetMouseIcon(pic.get());
        if (rule == IconPointer::Kept) {
            after(b, {L"MouseIcon"});
            return;
        }
        b.SetMousePointer(IsEmptyPicture(pic.get()) ? 0 : kCustomMousePointer);
        after(b, {L"MousePointer", L"MouseIcon"});
    };
    table_.Add(std::move(m));
    return *this;
}

}  // namespace lumio
