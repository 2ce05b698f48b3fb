#include "member_table.h"

#include <windows.h>

namespace lumio {

const Member* MemberTable::Find(DISPID id) const {
    for (const Member& m : members_)
        if (m.id == id) return &m;
    return nullptr;
}

const Member* MemberTable::FindByName(const std::wstring& name) const {
    for (const Member& m : members_)
        if (CompareStringOrdinal(m.name.c_str(), static_cast<int>(m.name.size()), name.c_str(),
                                 static_cast<int>(name.size()), TRUE) == CSTR_EQUAL)
            return &m;
    return nullptr;
}

DISPID MemberTable::IdOf(const std::wstring& name) const {
    const Member* m = FindByName(name);
    return m ? m->id : DISPID_UNKNOWN;
}

}  // namespace lumio
