// metafile-gen OUTPUT_FOLDER: writes the metafile player's test cards (with a
// ".cells" list of what each cell shows) and its bad-input fixtures.
#include "cards.h"

#include <filesystem>
#include <fstream>
#include <iostream>

namespace {

bool Write(const std::filesystem::path& path, const void* data, std::size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "uso: metafile-gen CARTELLA\n"
                 "scrive le schede di prova WMF ed EMF e i file difettosi nella CARTELLA\n";
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  int written = 0;
  for (const metafile_gen::Card& card : metafile_gen::TestCards()) {
    const std::string cells = metafile_gen::CellManifest(card);
    if (!Write(folder / card.file, card.bytes.data(), card.bytes.size()) ||
        !Write(folder / (card.file + ".cells"), cells.data(), cells.size())) {
      std::cerr << "metafile-gen: impossibile scrivere " << (folder / card.file) << '\n';
      return 1;
    }
    written += 2;
  }
  std::filesystem::create_directories(folder / "bad", error);
  for (const metafile_gen::Fixture& fixture : metafile_gen::BadInputFixtures()) {
    if (!Write(folder / "bad" / fixture.file, fixture.bytes.data(), fixture.bytes.size())) {
      std::cerr << "metafile-gen: impossibile scrivere " << (folder / "bad" / fixture.file) << '\n';
      return 1;
    }
    ++written;
  }
  std::cout << "metafile-gen: " << written << " file in " << folder << '\n';
  return 0;
}
