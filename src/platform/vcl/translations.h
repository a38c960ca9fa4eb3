// Qt's own texts (the standard buttons, the file dialog) in Japanese.
#pragma once

// Loads Qt's Japanese translations ("qtbase_ja" from Qt's translation folder,
// Debian's qt6-translations-l10n) into the running application once. False
// when they cannot be found; the standard texts then stay as Qt has them.
bool InstallQtTranslations();
