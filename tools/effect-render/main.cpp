// effect-render: draws frames of a transition effect to picture files, for a
// person to look at and for scripts that compare frames.

#include <QCoreApplication>

#include <iostream>
#include <string>
#include <vector>

#include "render.h"
#include "render_options.h"

int main(int argc, char** argv) {
  // The image plug-ins (JPEG) are found through the application object.
  const QCoreApplication app(argc, argv);
  const std::vector<std::string> args(argv + 1, argv + argc);
  const effect_render::ParseResult parsed = effect_render::ParseOptions(args);
  if (!parsed.options) {
    std::cerr << "effect-render: " << parsed.error << "\n\n" << effect_render::Usage();
    return effect_render::kUsageError;
  }
  const effects::Effect* row = effects::EffectRow(parsed.options->style);
  const effects::Effect none{"", nullptr};
  return effect_render::Run(*parsed.options, row != nullptr ? *row : none, std::cout, std::cerr);
}
