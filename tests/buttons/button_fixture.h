#pragma once
// LumioButton in our container.
#include "lumio_button.h"
#include "test_host.h"

namespace buttontest {

namespace id = lumio::tlb::dispid::LumioButton;
namespace ev = lumio::tlb::dispid::LumioButtonEvents;

class ButtonTest : public testhost::OleTest {
protected:
    lumio::host::Site* AddButton(lumio::host::Form& f, const wchar_t* name = L"Command1", IPropertyBag* bag = nullptr,
                                 RECT rect = {20, 20, 120, 45}, HRESULT* hr = nullptr);
    static lumio::buttons::LumioButton* Button(lumio::host::Site* s) {
        return static_cast<lumio::buttons::LumioButton*>(static_cast<IDispatch*>(s->Object().get()));
    }
    // Dispatch identifiers of the log since it was last cleared.
    std::vector<DISPID> Events() const;
    std::vector<DISPID> Notices() const;
};

lumio::ComPtr<IPictureDisp> SolidPicture(int width, int height, COLORREF colour);

}  // namespace buttontest
