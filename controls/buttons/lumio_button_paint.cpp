// LumioButton's painting entry points and palette. The face, caption and
// pictures are drawn by pPaintState; until the glass look is drawn there it
// clears to the back colour, so every state change already passes here.
#include "button_colours.h"
#include "imaging/mod_parsers_win.h"
#include "lumio_button.h"

namespace lumio::buttons {

void LumioButton::pRedraw(int32_t state, bool force) {
    if (m_bHidden) return;
    if (state == -1) state = m_State;
    if (!force && state == m_State && m_bHasFocus == m_PaintedFocus) return;
    Cls();
    m_PaintedFocus = m_bHasFocus;
    m_State = state;
    pPaintState(state);
}

void LumioButton::pPaintState(int32_t) {
    // The glass face, caption, picture and border are drawn here.
}

void LumioButton::OnPaint() { pRedraw(-1, true); }

void LumioButton::pSetColors() {
    m_cBack = static_cast<int32_t>(TranslateOleColor(m_BackColor));
    m_cPressedFace = pRGB(196, 229, 246);
    m_cFore = static_cast<int32_t>(TranslateOleColor(m_ForeColor));
    m_cDisabledFace = pBlendColor(m_cBack, 0xFFFFFF, 0.8f);
    m_cDisabledText = pBlendColor(m_cFore, 0xFFFFFF, 0.6f);
    m_cHotBandEnd = pRGB(217, 240, 252);
    m_cMask = static_cast<int32_t>(TranslateOleColor(m_MaskColor));
    m_cCheckedEnd = pRGB(242, 242, 242);
}

bool LumioButton::pIsNT() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    return GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
#pragma GCC diagnostic pop
}

}  // namespace lumio::buttons
