// Paints the program's artwork and synthesizes its sounds, always the same bytes for the same
// code: artgen <resources folder>.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>

#include "Banners.h"
#include "Bmp.h"
#include "Cursor.h"
#include "Glyphs.h"
#include "Pictures.h"
#include "Skin.h"
#include "Sounds.h"
#include "WindowSkins.h"
#include "resources/ResourceIds.h"
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

// The scales art is painted at besides its design's 100%: each picture at 125% is Name@125.bmp
// beside Name.bmp, with resource number base + kScaledResourceStep * the scale's place in the
// list (see resources/ResourceIds.h).
constexpr int kScales[] = {100, 125, 150, 175, 200};

std::string Suffix(int percent) { return percent == 100 ? "" : "@" + std::to_string(percent); }

// The resource script's lines for the scaled art, written beside the art.
class ScaledScript {
 public:
  void Add(int base, const char* type, const std::string& file, int step) {
    if (step == 0) return;
    lines_ += std::to_string(base + KRELMIX_SCALED_RESOURCE_STEP * step) + " " + type + " \"" + file + "\"\n";
  }
  void AddNamed(const std::string& name, const char* type, const std::string& file, int step) {
    if (step == 0) return;
    lines_ += name + std::to_string(kScales[step]) + " " + type + " \"" + file + "\"\n";
  }
  void Write(const std::filesystem::path& path) const {
    std::ofstream out(path, std::ios::binary);
    out << "// Written by tools/artgen: the art painted for the display scales above 100%.\n" << lines_;
    if (!out) throw std::runtime_error("cannot write " + path.string());
  }

 private:
  std::string lines_;
};

struct SkinOutput {
  const char* name;
  int pictureId, outlineId;
  IndexedImage (*paint)(ArtScale);
  std::optional<uint32_t> key;  // the options, editor and restore skins are keyed on black
};

void Generate(const std::filesystem::path& root) {
  for (const char* folder : {"skins", "glyphs", "banners", "pictures", "cursors", "sounds"})
    std::filesystem::create_directories(root / folder);

  // The options and editor skins are keyed on black and hold no black pixel: plain rectangles.
  const SkinOutput skins[] = {
      {"Main", IDB_SKIN_MAIN, IDR_SKIN_MAIN_OUTLINE, PaintMainSkin, std::nullopt},
      {"Options", IDB_SKIN_OPTIONS, IDR_SKIN_OPTIONS_OUTLINE, PaintOptionsSkin, kBlack},
      {"Editors", IDB_SKIN_EDITORS, IDR_SKIN_EDITORS_OUTLINE, PaintEditorsSkin, kBlack},
      {"Restore", IDB_SKIN_RESTORE, IDR_SKIN_RESTORE_OUTLINE, PaintRestoreSkin, kBlack},
      {"About", IDB_SKIN_ABOUT, IDR_SKIN_ABOUT_OUTLINE, PaintAboutSkin, std::nullopt},
  };
  struct GlyphIds {
    int on, off;
  };
  const GlyphIds glyphIds[] = {
      {IDB_GLYPH_ABOUT, 0},
      {IDB_GLYPH_SEARCH, IDB_GLYPH_SEARCH_OFF},
      {IDB_GLYPH_DELETE, IDB_GLYPH_DELETE_OFF},
      {IDB_GLYPH_STOP, IDB_GLYPH_STOP_OFF},
      {IDB_GLYPH_CLEAN, IDB_GLYPH_CLEAN_OFF},
      {IDB_GLYPH_TMP, IDB_GLYPH_TMP_OFF},
      {IDB_GLYPH_EXIT, IDB_GLYPH_EXIT_OFF},
      {IDB_GLYPH_SETTINGS, 0},
  };
  if (GlyphDesigns().size() != std::size(glyphIds)) throw std::logic_error("a glyph without a resource number");

  ScaledScript script;
  for (int step = 0; step < static_cast<int>(std::size(kScales)); ++step) {
    const ArtScale scale(kScales[step]);
    const std::string at = Suffix(kScales[step]);
    for (const SkinOutput& s : skins) {
      const IndexedImage skin = s.paint(scale);
      const std::string picture = std::string("skins/") + s.name + at + ".bmp";
      const std::string outline = std::string("skins/") + s.name + at + ".rgn";
      WriteBmp4((root / picture).string(), skin);
      WriteStoredOutline((root / outline).string(), skin, s.key);
      script.Add(s.pictureId, "BITMAP", picture, step);
      script.Add(s.outlineId, "RCDATA", outline, step);
    }

    for (size_t i = 0; i < GlyphDesigns().size(); ++i) {
      const GlyphDesign& design = GlyphDesigns()[i];
      ColourImage glyph(kGlyphSize, kGlyphSize, {0, 0, 0, 0}, scale);
      design.paint(glyph, {});
      const std::string on = "glyphs/" + design.name + at + ".bmp";
      WriteBmp32Premultiplied((root / on).string(), glyph);
      script.Add(glyphIds[i].on, "BITMAP", on, step);
      if (design.hasDisabledState) {
        const std::string off = "glyphs/" + design.name + "Off" + at + ".bmp";
        WriteBmp32Premultiplied((root / off).string(), Disabled(glyph));
        script.Add(glyphIds[i].off, "BITMAP", off, step);
      }
    }

    const std::string product = "banners/Krelmix" + at + ".bmp", studio = "banners/D3ir" + at + ".bmp";
    WriteBmp24((root / product).string(), ProductBanner(scale), Rgb(0, 0, 0));
    WriteBmp24((root / studio).string(), StudioBanner(scale), Rgb(0, 0, 0));
    script.Add(IDB_BANNER1, "BITMAP", product, step);
    script.Add(IDB_BANNER2, "BITMAP", studio, step);

    const std::string mascot = "pictures/Mascot" + at + ".bmp", logo = "pictures/Logo" + at + ".bmp";
    WriteBmp24((root / mascot).string(), Mascot(scale), Rgb(0, 0, 0));
    WriteBmp24((root / logo).string(), Logo(scale), LogoKeyColour());
    script.Add(IDB_MASCOT, "BITMAP", mascot, step);
    script.Add(IDB_LOGO, "BITMAP", logo, step);

    const std::string cursor = "cursors/LinkPoint" + at + ".cur";
    WriteLinkCursor((root / cursor).string(), scale);
    script.AddNamed("CRSRLINKPOINT", "CURSOR", cursor, step);
  }
  script.Write(root / "ScaledArt.rc");

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
