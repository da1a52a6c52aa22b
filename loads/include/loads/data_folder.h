#pragma once

#include <QString>

#include "loads/status.h"

namespace loads {

inline constexpr char kPistolFileName[] = "Versanto.sqlite";
inline constexpr char kRifleFileName[] = "Tabella2.sqlite";
inline constexpr char kTableName[] = "DatiSpese";

// The per-user folder of the two load files:
// $XDG_DATA_HOME/Calvenor/Versanto (by default ~/.local/share/Calvenor/Versanto).
// It does not follow the folder the program runs from.
QString DefaultDataFolder();

// Makes sure `folder` exists and new files can be written there.
Status EnsureWritableFolder(const QString& folder);

}  // namespace loads
