// Paints the program's artwork and synthesizes its sounds, always the same bytes for the same
// code: artgen <resources folder>.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "Banners.h"
#include "Bmp.h"
#include "Cursor.h"
#include "Glyphs.h"
#include "Pictures.h"
#include "Skin.h"
#include "Sounds.h"
#include "WindowSkins.h"
#include "skin/RegionData.h"

namespace {

using namespace artgen;

constexpr int kGlyphSize = 32;
constexpr uint32_t kBlack = 0x000000;

// The stored outline is computed from the finished picture, as the skin control would: keyed on
// the given colour, or on the bottom-left pixel when none is given.
void WriteStoredOutline(const std::string& path, const IndexedImage& skin, std::optional<uint32_t> keyColour = {}) {
  krelmix::PixelGrid grid{skin.Width(), skin.Height(), {}};
  for (int y = 0; y < skin.Height(); ++y)
    for (int x = 0; x < skin.Width(); ++x) grid.pixels.push_back(skin.Palette()[skin.At(x, y)]);
  const uint32_t key = keyColour ? *keyColour : krelmix::DefaultKeyColour(grid);
  const auto bytes = krelmix::SerializeStoredOutline(krelmix::OutlineRects(grid, key));
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

void Generate(const std::filesystem::path& root) {
  for (const char* folder : {"skins", "glyphs", "banners", "pictures", "cursors", "sounds"})
    std::filesystem::create_directories(root / folder);

  const IndexedImage skin = PaintMainSkin();
  WriteBmp4((root / "skins/Main.bmp").string(), skin);
  WriteStoredOutline((root / "skins/Main.rgn").string(), skin);

  // The options and editor skins are keyed on black and hold no black pixel: plain rectangles.
  const IndexedImage options = PaintOptionsSkin();
  WriteBmp4((root / "skins/Options.bmp").string(), options);
  WriteStoredOutline((root / "skins/Options.rgn").string(), options, kBlack);
  const IndexedImage editors = PaintEditorsSkin();
  WriteBmp4((root / "skins/Editors.bmp").string(), editors);
  WriteStoredOutline((root / "skins/Editors.rgn").string(), editors, kBlack);
  const IndexedImage restore = PaintRestoreSkin();
  WriteBmp4((root / "skins/Restore.bmp").string(), restore);
  WriteStoredOutline((root / "skins/Restore.rgn").string(), restore, kBlack);
  const IndexedImage about = PaintAboutSkin();
  WriteBmp4((root / "skins/About.bmp").string(), about);
  WriteStoredOutline((root / "skins/About.rgn").string(), about);

  for (const GlyphDesign& design : GlyphDesigns()) {
    ColourImage glyph(kGlyphSize, kGlyphSize);
    design.paint(glyph, {});
    WriteBmp32Premultiplied((root / "glyphs" / (design.name + ".bmp")).string(), glyph);
    if (design.hasDisabledState)
      WriteBmp32Premultiplied((root / "glyphs" / (design.name + "Off.bmp")).string(), Disabled(glyph));
  }

  WriteBmp24((root / "banners/Krelmix.bmp").string(), ProductBanner(), Rgb(0, 0, 0));
  WriteBmp24((root / "banners/D3ir.bmp").string(), StudioBanner(), Rgb(0, 0, 0));

  WriteBmp24((root / "pictures/Mascot.bmp").string(), Mascot(), Rgb(0, 0, 0));
  WriteBmp24((root / "pictures/Logo.bmp").string(), Logo(), LogoKeyColour());
  WriteLinkCursor((root / "cursors/LinkPoint.cur").string());

  for (const SoundDesign& sound : EventSounds()) WriteWav((root / "sounds" / sound.file).string(), sound.samples);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: artgen <resources folder>\n");
    return 2;
  }
  try {
    Generate(argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "artgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
