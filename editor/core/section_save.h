#pragma once
// Saving the section editor's text: the text is cut into its sections at the header
// lines, and each section the unit links to is written back whole. Decided entirely
// before anything is registered or written.
#include <string>
#include <string_view>
#include <vector>

struct NameRegistration {
    bool Warhead = false; // false: "WeaponsList", true: "WarheadsList"
    std::string Name;
};

struct SectionWrite {
    std::string Section;
    std::vector<std::string> Lines; // none blank
};

struct SectionSavePlan {
    // The text holds a header that is not one of the sections it may write, or one twice:
    // nothing is registered and nothing written.
    bool Refused = false;
    std::vector<NameRegistration> Registrations; // in their order, before the writes
    std::vector<SectionWrite> Writes;            // in their order
};

inline constexpr std::u16string_view kSectionMismatchMessage = u"小节内容与武器或弹头名称不符，未保存。";

// text: the editor text; itemText: the selected list item; withWeapons: the main window's
// "提取武器"; withWarheads: the editor's "编辑弹头". Reads the stored names from rulesFile.
//
// A header is a line whose first non-blank character is "[" and that holds a "]"; its name
// runs to the first "]" and matches section names without regard to ASCII letter case.
// The sections that may be written are the unit's own and, with withWeapons, those named
// by the text's Primary and Secondary lines, and, with withWarheads, those named by its
// first two Warhead lines. Lines before the first header belong to the unit. Blank lines
// are dropped; a section without lines is not written; a section is written once.
// A name the text gives that differs from the one stored is registered.
SectionSavePlan PlanSectionSave(const std::string &rulesFile, std::string_view text, std::string_view itemText,
                                bool withWeapons, bool withWarheads);

// Lines as a whole-section write takes them: each ended by a NUL, then one more NUL.
std::string SectionEntries(const std::vector<std::string> &lines);
