#pragma once
// Puts the library's readers (and its zlib probe) behind the surface's loader
// (imaging/codec_registry.h). Runs by itself when Lumiokit.dll loads; a program that links
// the codecs statically calls it once before loading pictures.
namespace lumio {
void RegisterLibraryCodecs() noexcept;
}
