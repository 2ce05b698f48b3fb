#pragma once
// A unit's section with its weapon and warhead sections as one INI-syntax text,
// every section name that the comparison rules file already holds renamed on request.
// Text is bytes in the ANSI code page. The caller supplies the comparison test and the
// prompt, so that the windows (or a test) decide how to ask.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

enum class RenameKind { Unit, Weapon, Warhead };

struct RenamePrompt {
    RenameKind Kind;
    std::string Name;     // the name found in the comparison file
    std::string Proposal; // the answer offered
};

struct ExportEnv {
    std::string RulesFile;
    // Whether the comparison file holds a section of that name with at least one line.
    std::function<bool(const std::string &name)> Exists;
    // The new name; empty when the user gave none or cancelled.
    std::function<std::string(const RenamePrompt &)> Ask;
};

struct ExportOptions {
    bool IsWeapon = false;  // append the weapon sections
    bool IsWH = false;      // append the warhead sections
    bool IsNameCom = false; // rename the unit
    bool IsWepCom = false;  // rename weapons
    bool IsWHCom = false;   // rename warheads
};

// The comparison test on a rules file.
bool ComparisonHasSection(const std::string &comparisonFile, const std::string &name);

// Prompt and title of the input box that asks for a new name.
std::u16string RenamePromptText(RenameKind kind, std::u16string_view name);
std::u16string RenamePromptTitle(RenameKind kind);

// Appends the sections named by key in the sections first and second (an empty source
// names none; the second is left out when it names the same section as the first), then
// renames them throughout the text when rename is set. nullopt: a rename was abandoned.
std::optional<std::string> AppendLinkedSections(const ExportEnv &env, std::string text, RenameKind kind,
                                                std::string_view key, bool rename, std::string_view first,
                                                std::string_view second);

// The export of the unit named by the list item text, as stored in the rules file.
std::optional<std::string> BuildSectionExport(const ExportEnv &env, const ExportOptions &options,
                                              std::string_view itemText);

// The export of the section editor's text: its first header takes the (possibly new)
// unit name, then the linked sections are appended as stored in the rules file.
std::optional<std::string> BuildEditedExport(const ExportEnv &env, const ExportOptions &options,
                                             std::string_view editedText, std::string_view itemText);

// A name made fit for a file name: every character a file name cannot hold becomes "_".
std::u16string SafeFileName(std::u16string_view name);

// The export file's bytes: the text and a closing CR LF.
std::string ExportFileBytes(std::string_view text);
