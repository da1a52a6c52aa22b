#include "render_options.h"

#include <charconv>
#include <map>

#include "effects/effect_table.h"

namespace effect_render {

namespace {

constexpr int kMaxSide = 16384;  // pixels

std::optional<int> WholeNumber(const std::string& text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || text.empty()) return std::nullopt;
  return value;
}

std::optional<std::vector<int>> ProgressList(const std::string& text) {
  std::vector<int> values;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = text.find(',', start);
    const std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    const auto value = WholeNumber(item);
    if (!value || *value < 0 || *value > 100) return std::nullopt;
    values.push_back(*value);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return values;
}

bool ParseSize(const std::string& text, int& width, int& height) {
  const std::size_t x = text.find_first_of("xX");
  if (x == std::string::npos) return false;
  const auto w = WholeNumber(text.substr(0, x));
  const auto h = WholeNumber(text.substr(x + 1));
  if (!w || !h || *w < 1 || *h < 1 || *w > kMaxSide || *h > kMaxSide) return false;
  width = *w;
  height = *h;
  return true;
}

ParseResult Fail(std::string error) { return ParseResult{std::nullopt, std::move(error)}; }

}  // namespace

std::string Usage() {
  return "Uso:\n"
         "  effect-render --effect N|NOME --progress P[,P...] --size LxA\n"
         "                [--old FILE] [--new FILE] --out MODELLO\n"
         "  effect-render --effect N|NOME --size LxA [--old FILE] [--new FILE] --sheet FILE\n"
         "  effect-render --list\n"
         "\n"
         "Disegna i fotogrammi di un effetto di transizione in file PNG o JPEG.\n"
         "  --effect    numero (1..176) o nome dell'effetto\n"
         "  --progress  avanzamento in percento (0..100), anche più valori separati da virgole\n"
         "  --size      larghezza x altezza in pixel, per esempio 320x200\n"
         "  --old       immagine di partenza (senza: un cartellino di prova generato)\n"
         "  --new       immagine d'arrivo (senza: un secondo cartellino di prova)\n"
         "  --out       file da scrivere; %p diventa l'avanzamento (necessario con più valori)\n"
         "  --sheet     foglio dei provini con gli avanzamenti 0, 10, ..., 100, in righe di 4\n"
         "  --list      elenca numero, nome e se l'effetto disegna (yes/no), separati da tabulazioni\n"
         "Uscita: 0 fatto, 1 file non leggibile o non scrivibile, 2 riga di comando errata,\n"
         "3 effetto senza procedura di disegno.\n";
}

ParseResult ParseOptions(const std::vector<std::string>& args) {
  Options options;
  std::string effect;
  bool sizeGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    std::optional<std::string> value;
    if (const std::size_t eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
      value = name.substr(eq + 1);
      name = name.substr(0, eq);
    }
    if (name == "--list") {
      options.list = true;
      continue;
    }
    if (name == "--help" || name == "-h") {
      options.help = true;
      continue;
    }
    static const std::map<std::string, int> kTakesValue = {
        {"--effect", 0}, {"--progress", 1}, {"--size", 2}, {"--old", 3},
        {"--new", 4},    {"--out", 5},      {"--sheet", 6}};
    const auto known = kTakesValue.find(name);
    if (known == kTakesValue.end()) return Fail("Opzione sconosciuta: " + args[i]);
    if (!value) {
      if (i + 1 >= args.size()) return Fail("Manca il valore dell'opzione " + name);
      value = args[++i];
    }
    switch (known->second) {
      case 0:
        effect = *value;
        break;
      case 1: {
        const auto list = ProgressList(*value);
        if (!list) return Fail("Avanzamento non valido: \"" + *value + "\" (interi da 0 a 100, separati da virgole)");
        options.progress = *list;
        break;
      }
      case 2:
        if (!ParseSize(*value, options.width, options.height))
          return Fail("Dimensione non valida: \"" + *value + "\" (per esempio 320x200, lati da 1 a " +
                      std::to_string(kMaxSide) + ")");
        sizeGiven = true;
        break;
      case 3:
        options.oldFile = *value;
        break;
      case 4:
        options.newFile = *value;
        break;
      case 5:
        options.outPattern = *value;
        break;
      default:
        options.sheetFile = *value;
        break;
    }
  }
  if (options.help || options.list) return ParseResult{options, {}};

  if (effect.empty()) return Fail("Manca --effect");
  if (const auto number = WholeNumber(effect)) {
    if (*number < 1 || *number > effects::kEffectCount)
      return Fail("Non c'è un effetto numero " + effect + " (da 1 a 176)");
    options.style = *number;
  } else if (const auto style = effects::FindEffectStyle(effect)) {
    options.style = *style;
  } else {
    return Fail("Non c'è un effetto di nome \"" + effect + "\" (vedere --list)");
  }
  if (!sizeGiven) return Fail("Manca --size");
  if (options.sheetFile.empty() && options.outPattern.empty()) return Fail("Manca --out (oppure --sheet)");
  if (!options.outPattern.empty() && options.progress.empty()) return Fail("Manca --progress");
  if (options.outPattern.empty() && !options.progress.empty()) return Fail("Manca --out");
  if (options.progress.size() > 1 && options.outPattern.find("%p") == std::string::npos)
    return Fail("Con più valori di --progress il modello di --out deve contenere %p");
  return ParseResult{options, {}};
}

std::string FramePath(const std::string& pattern, int progress) {
  std::string path;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size()) {
      if (pattern[i + 1] == 'p') {
        path += std::to_string(progress);
        ++i;
        continue;
      }
      if (pattern[i + 1] == '%') {
        path += '%';
        ++i;
        continue;
      }
    }
    path += pattern[i];
  }
  return path;
}

}  // namespace effect_render
