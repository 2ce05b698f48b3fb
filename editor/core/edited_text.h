#pragma once
// Text that the user edits in a window: shown as characters, saved as the bytes of the ANSI
// code page. A line the user did not change is saved with the bytes it was read from, so
// bytes that form no character of the code page (a comment saved in another encoding)
// survive an edit of the lines around them.
#include <string>
#include <string_view>
#include <vector>

struct ShownText {
    std::vector<std::string> Bytes;   // each line as read
    std::vector<std::u16string> Wide; // each line as shown
    // The lines as shown, joined by CR LF.
    std::u16string Text() const;
};

// The text split at CR LF, LF or a lone CR.
ShownText ShowText(std::string_view bytes);

struct EditedBytes {
    bool Ok = false;
    std::string Bytes;     // the lines joined by CR LF
    std::u16string BadLine; // when not Ok: the first changed line the code page cannot hold
};

// The edited text as bytes: lines matched with the shown lines by a line diff keep the bytes
// they were read from; every other line is converted, and one that cannot be converted
// refuses the whole text.
EditedBytes EditedTextBytes(const ShownText &shown, std::u16string_view edited);

// The message that refuses a save or export because of such a line.
std::u16string UnsavableLineMessage(std::u16string_view line);
