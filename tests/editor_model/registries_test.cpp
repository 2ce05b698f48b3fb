// The weapon and warhead registries: reading, next keys, registration, removal.
#include "registries.h"
#include "temp_file.h"

#include <gtest/gtest.h>

namespace {

TEST(Registries, ReadInFileOrderWithOneBlankElementWhenEmpty) {
    TempRules f("[WeaponsList]\r\n0=A\r\n1=B\r\nno equals\r\n3=C\r\n5= Foo \r\n6=Bar ;note\r\n;;27=Old ; old\r\n"
                "7=\tTab\t;x\r\n");
    RefreshRegistries(f.path());
    ASSERT_EQ(WeaponEntries.size(), 6u);
    EXPECT_EQ(WeaponEntries[2].Key, "3");
    EXPECT_EQ(WeaponEntries[3].Value, "Foo");
    EXPECT_EQ(WeaponEntries[4].Value, "Bar");
    EXPECT_EQ(WeaponEntries[5].Key, "7");
    ASSERT_EQ(WarheadEntries.size(), 1u);
    EXPECT_TRUE(WarheadEntries[0].Key.empty() && WarheadEntries[0].Value.empty());
    EXPECT_EQ(RegistryListValues(RegistryKind::Weapon), (std::vector<std::string>{"A", "B", "C", "Foo", "Bar", "Tab"}));
    EXPECT_TRUE(RegistryListValues(RegistryKind::Warhead).empty());
}

TEST(Registries, NextKeyIsTheLastKeyPlusOneMovedPastTakenKeys) {
    struct Case {
        const char *name;
        std::string list;
        int64_t next;
    } cases[] = {
        {"empty", "", 1},
        {"gap below is not filled", "[WeaponsList]\r\n0=A\r\n1=B\r\nx\r\n3=C\r\n", 4},
        {"last, not largest", "[WeaponsList]\r\n211=A\r\n5=B\r\n", 6},
        {"taken key skipped", "[WeaponsList]\r\n6=A\r\n7=B\r\n5=C\r\n", 8},
        {"beyond 16 bits", "[WeaponsList]\r\n40000=A\r\n", 40001},
        {"non-numeric last key", "[WeaponsList]\r\n1=A\r\nabc=B\r\n", 2},
        {"commented-out last line", "[WeaponsList]\r\n1=A\r\n;9=B\r\n", 2},
    };
    for (const auto &c : cases) {
        TempRules f(c.list);
        RefreshRegistries(f.path());
        EXPECT_EQ(NextFreeKey(RegistryKind::Weapon, f.path()), c.next) << c.name;
    }
}

TEST(Registries, ALongRegistryIsReadWholeAndExtendedAtItsEnd) {
    std::string list = "[WeaponsList]\r\n";
    for (int i = 0; i < 5000; ++i) list += std::to_string(i) + "=Weapon" + std::to_string(i) + "\r\n";
    TempRules f(list);
    RefreshRegistries(f.path());
    EXPECT_EQ(RegistryListValues(RegistryKind::Weapon).size(), 5000u);
    EXPECT_EQ(RegisterName(RegistryKind::Weapon, "Weapon4999", f.path()), RegisterOutcome::AlreadyRegistered);
    RegisterName(RegistryKind::Weapon, "NewGun", f.path());
    std::string after = f.Read();
    EXPECT_EQ(after.substr(0, list.size()), list);
    EXPECT_EQ(after.substr(list.size()), "5000=NewGun\r\n");
}

TEST(Registries, RegistrationAppendsOnceAndLeavesEverythingElse) {
    TempRules f("[General]\r\nx=1\r\n\r\n[WeaponsList]\r\n0=A\r\n1=B ;old\r\n;;2=C\r\n\r\n[WarheadsList]\r\n7=HE\r\n");
    EXPECT_EQ(RegisterName(RegistryKind::Weapon, "Laser", f.path()), RegisterOutcome::Written);
    EXPECT_EQ(RegisterName(RegistryKind::Weapon, "Laser", f.path()), RegisterOutcome::AlreadyRegistered);
    EXPECT_EQ(RegisterName(RegistryKind::Weapon, "B", f.path()), RegisterOutcome::AlreadyRegistered); // "B ;old"
    EXPECT_EQ(RegisterName(RegistryKind::Weapon, "C", f.path()), RegisterOutcome::Written); // commented out
    EXPECT_EQ(RegisterName(RegistryKind::Weapon, "", f.path()), RegisterOutcome::NothingToRegister);
    EXPECT_EQ(RegisterName(RegistryKind::Warhead, "A", f.path()), RegisterOutcome::Written); // other registry
    EXPECT_EQ(RegisterName(RegistryKind::Warhead, "HE", f.path()), RegisterOutcome::AlreadyRegistered);
    EXPECT_EQ(f.Read(), "[General]\r\nx=1\r\n\r\n[WeaponsList]\r\n0=A\r\n1=B ;old\r\n;;2=C\r\n2=Laser\r\n3=C\r\n\r\n"
                        "[WarheadsList]\r\n7=HE\r\n8=A\r\n");
    EXPECT_EQ(NextWeaponIndex, 4);
    EXPECT_EQ(NextWarheadIndex, 9);
}

TEST(Registries, RegistrationCreatesAMissingRegistry) {
    TempRules f("[General]\r\nx=1\r\n");
    EXPECT_EQ(RegisterName(RegistryKind::Warhead, "AP", f.path()), RegisterOutcome::Written);
    EXPECT_EQ(f.Read(), "[General]\r\nx=1\r\n[WarheadsList]\r\n1=AP\r\n");
}

TEST(Registries, RemovalTakesEveryLineOfTheValueAndRefreshes) {
    TempRules f("[WeaponsList]\r\n0=A\r\n1=B\r\n2=A\r\n2=C\r\n[WarheadsList]\r\n0=A\r\n");
    EXPECT_EQ(RemoveRegistryValue(RegistryKind::Weapon, "A", f.path()), 2);
    EXPECT_EQ(f.Read(), "[WeaponsList]\r\n1=B\r\n2=C\r\n[WarheadsList]\r\n0=A\r\n");
    EXPECT_EQ(RegistryListValues(RegistryKind::Weapon), (std::vector<std::string>{"B", "C"}));
    EXPECT_EQ(RemoveRegistryValue(RegistryKind::Warhead, "A", f.path()), 1);
    EXPECT_EQ(f.Read(), "[WeaponsList]\r\n1=B\r\n2=C\r\n[WarheadsList]\r\n");
    EXPECT_EQ(RemoveRegistryValue(RegistryKind::Warhead, "", f.path()), 0);
}

} // namespace
