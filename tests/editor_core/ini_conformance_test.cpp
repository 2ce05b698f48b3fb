// Our INI engine against the platform's private-profile services, on the cases where
// Windows and Wine agree (Wine rewrites whole files and drops comment lines from section
// reads, so byte comparisons use files already in its canonical form).
#include "private_profile.h"
#include "rwini.h"

#include "temp_dir.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

struct Probe {
    const char *section;
    const char *key;
};

std::string PlatformGetString(const Probe &p, uint32_t size, const std::string &file) {
    std::string buf(size + 8, '#');
    DWORD n = GetPrivateProfileStringA(p.section, p.key, "DEF", buf.data(), size, file.c_str());
    return std::to_string(n) + ":" + buf.substr(0, n + 1);
}

std::string OurGetString(const Probe &p, uint32_t size, const std::string &file) {
    ProfileRead r = ProfileGetString(p.section, p.key, "DEF", size, file);
    return std::to_string(r.count) + ":" + r.buffer;
}

// Compared over as many bytes as our buffer holds: the lines and their NULs.
std::string PlatformGetSection(const char *section, uint32_t size, const std::string &file, size_t length) {
    std::string buf(size, '#');
    DWORD n = GetPrivateProfileSectionA(section, buf.data(), size, file.c_str());
    return std::to_string(n) + ":" + buf.substr(0, length);
}

ProfileRead OurGetSection(const char *section, uint32_t size, const std::string &file) {
    return ProfileGetSection(section, size, file);
}

class IniConformanceTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string file = dir.File("rules.ini");
};

TEST_F(IniConformanceTest, ValueReads) {
    const std::string text =
        "; header comment\r\n"
        "[General]\r\n"
        "Name=Rules\r\n"
        "  Strength  =  125  \r\n"
        "Quoted=\"two words\"\r\n"
        "Single='x'\r\n"
        "Odd='x\"\r\n"
        "Empty=\r\n"
        "Comment=5 ; five\r\n"
        "Dup=first\r\n"
        "dup=second\r\n"
        "Long=" + std::string(200, 'L') + "\r\n"
        "Gbk=\xC3\xC0\xB9\xFA\xB4\xF3\xB1\xF8\r\n"
        "\r\n"
        "[E1]\n"
        "UIName=Name:E1\n"
        "[general]\r\n"
        "Later=1\r\n"
        "[\xB2\xBD\xB1\xF8]\r\n"
        "k=v\r\n";
    PutFile(file, text);
    const Probe probes[] = {
        {"General", "Name"},   {"GENERAL", "name"},  {"General", "Strength"}, {"General", "Quoted"},
        {"General", "Single"}, {"General", "Odd"},   {"General", "Empty"},    {"General", "Comment"},
        {"General", "Dup"},    {"General", "Long"},  {"General", "Gbk"},      {"General", "Missing"},
        {"General", "Later"},  {"E1", "UIName"},     {"Nowhere", "Name"},     {"\xB2\xBD\xB1\xF8", "k"},
    };
    for (const Probe &p : probes) {
        // Cutting a two-byte character: Wine leaves a gap in the buffer, so compare only whole ones.
        for (uint32_t size : {144u, std::string(p.key) == "Gbk" ? 7u : 6u}) {
            EXPECT_EQ(OurGetString(p, size, file), PlatformGetString(p, size, file))
                << p.section << "/" << p.key << " size " << size;
        }
    }
    Probe p{"General", "Name"};
    std::string missing = dir.File("missing.ini");
    EXPECT_EQ(OurGetString(p, 144, missing), PlatformGetString(p, 144, missing));
}

TEST_F(IniConformanceTest, SectionReadsAndTheirCut) {
    std::string text = "[Small]\r\na=1\r\nb=two words\r\n[Empty]\r\n[Big]\r\n";
    for (int i = 0; i < 3000; ++i) text += std::to_string(i) + "=Weapon" + std::to_string(i) + "\r\n";
    PutFile(file, text);
    const struct {
        const char *section;
        uint32_t size;
    } cases[] = {{"Small", 32767}, {"small", 8}, {"Small", 6}, {"Empty", 32767},
                 {"None", 32767},  {"Big", 32767}, {"Big", 1000}};
    for (const auto &c : cases) {
        ProfileRead ours = OurGetSection(c.section, c.size, file);
        EXPECT_EQ(std::to_string(ours.count) + ":" + ours.buffer,
                  PlatformGetSection(c.section, c.size, file, ours.buffer.size()))
            << c.section << " size " << c.size;
    }
}

// Each step is done by the platform on one copy and by our engine on another.
struct Step {
    enum Kind { Set, Delete, Section } kind;
    const char *section;
    const char *key;   // Set, Delete
    std::string value; // Set: value; Section: NUL-separated lines
};

void PlatformStep(const Step &s, const std::string &file) {
    switch (s.kind) {
    case Step::Set: WritePrivateProfileStringA(s.section, s.key, s.value.c_str(), file.c_str()); break;
    case Step::Delete: WritePrivateProfileStringA(s.section, s.key, nullptr, file.c_str()); break;
    case Step::Section: {
        std::string buf = s.value + std::string(2, '\0');
        WritePrivateProfileSectionA(s.section, buf.data(), file.c_str());
        break;
    }
    }
}

void OurStep(const Step &s, const std::string &file) {
    switch (s.kind) {
    case Step::Set: WriteIniString(s.section, s.key, s.value, file); break;
    case Step::Delete: DeleteIniKey(s.section, s.key, file); break;
    case Step::Section: WriteIniSection(s.section, s.value, file); break;
    }
}

const std::vector<Step> &Steps() {
    static const std::vector<Step> steps = {
        {Step::Set, "B", "y", "9"},
        {Step::Set, "b", "Y", "10"},
        {Step::Set, "A", "new", "1"},
        {Step::Set, "B", "last", "\xC3\xC0\xB9\xFA"},
        {Step::Set, "C", "k", "v"},
        {Step::Delete, "A", "x", ""},
        {Step::Delete, "A", "absent", ""},
        {Step::Section, "B", "", std::string("p=1\0q=2", 7)},
        {Step::Section, "D", "", std::string("d=4", 3)},
        {Step::Set, "A", "x", "back"},
    };
    return steps;
}

TEST_F(IniConformanceTest, WritesOnACanonicalFileMatchByteForByte) {
    for (const char *start : {"[A]\r\nx=1\r\nz=2\r\n[B]\r\ny=2\r\n", ""}) {
        std::string theirs = dir.File("theirs.ini"), ours = dir.File("ours.ini");
        std::filesystem::remove(theirs);
        std::filesystem::remove(ours);
        if (*start) {
            PutFile(theirs, start);
            PutFile(ours, start);
        }
        for (const Step &s : Steps()) {
            PlatformStep(s, theirs);
            OurStep(s, ours);
            ASSERT_EQ(GetFile(ours), GetFile(theirs)) << "start " << start << ", step " << s.section << "/" << s.key;
        }
    }
}

// Comments, blank lines and blanks around "=" stay in our file while the platform here
// rewrites them; through the platform's own reads both files must still say the same.
TEST_F(IniConformanceTest, WritesOnAHandWrittenFileReadTheSame) {
    const std::string start = "; rules\r\n[A]\r\n x = 1 ; one\r\n\r\n; about B\r\n[B]\n y= 2\n\n[Tail]\r\nt=0";
    std::string theirs = dir.File("theirs.ini"), ours = dir.File("ours.ini");
    PutFile(theirs, start);
    PutFile(ours, start);
    const Probe probes[] = {{"A", "x"}, {"A", "new"}, {"B", "y"},    {"B", "p"},    {"B", "q"},
                            {"B", "last"}, {"C", "k"}, {"D", "d"}, {"Tail", "t"}};
    for (const Step &s : Steps()) {
        PlatformStep(s, theirs);
        OurStep(s, ours);
        for (const Probe &p : probes) {
            EXPECT_EQ(PlatformGetString(p, 144, ours), PlatformGetString(p, 144, theirs))
                << p.section << "/" << p.key << " after step " << s.section << "/" << s.key;
        }
    }
    EXPECT_NE(GetFile(ours).find("; about B\r\n"), std::string::npos);
}

// Paths arrive in the ANSI code page: a Chinese folder name must work both ways.
TEST_F(IniConformanceTest, ChinesePaths) {
    std::string folder = dir.File("\xB9\xE6\xD4\xF2"); // 规则 in GBK
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    std::string path = folder + "\\Rulesmd.ini";
    WriteIniString("E1", "UIName", "Name:E1", path);
    char buf[144] = {};
    GetPrivateProfileStringA("E1", "UIName", "", buf, sizeof buf, path.c_str());
    EXPECT_STREQ(buf, "Name:E1");
    WritePrivateProfileStringA("E1", "Strength", "125", path.c_str());
    EXPECT_EQ(ReadIniString("E1", "Strength", "", path), "125");
}

TEST_F(IniConformanceTest, FileAttributes) {
    PutFile(file, "[A]\r\nx=1\r\n");
    ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(ProfileWriteString("A", "x", "2", file));
    EXPECT_EQ(GetFile(file), "[A]\r\nx=1\r\n");

    // Replacing the file keeps it hidden.
    ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_HIDDEN));
    EXPECT_TRUE(ProfileWriteString("A", "x", "2", file));
    EXPECT_EQ(GetFile(file), "[A]\r\nx=2\r\n");
    EXPECT_TRUE(GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

} // namespace
