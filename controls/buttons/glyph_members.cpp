#include "glyph_members.h"

#include "subclass_proc_member.h"

namespace lumio::buttons {

Member SubclassProcMember(DISPID id) { return lumio::SubclassProcMember<GlyphControl>(id); }

}  // namespace lumio::buttons
