#include "platform/vcl/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace {

// Qt's translations leave the file dialog's type column ("Folder", "Drive"...)
// untranslated under the icon provider's name; the dialog's own texts of the
// same words are taken for them.
class TIconProviderTexts : public QTranslator {
 public:
  TIconProviderTexts(const QTranslator* base, QObject* parent) : QTranslator(parent), base_(base) {}
  bool isEmpty() const override { return false; }
  QString translate(const char* context, const char* sourceText, const char* disambiguation,
                    int n) const override {
    if (!base_ || qstrcmp(context, "QAbstractFileIconProvider") != 0) return {};
    return base_->translate("QFileDialog", sourceText, disambiguation, n);
  }

 private:
  QPointer<const QTranslator> base_;
};

}  // namespace

bool InstallQtTranslations() {
  static QPointer<QTranslator> installed;
  if (installed) return true;
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (!translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
      !QCoreApplication::installTranslator(translator)) {
    delete translator;
    return false;
  }
  QCoreApplication::installTranslator(new TIconProviderTexts(translator, QCoreApplication::instance()));
  installed = translator;
  return true;
}
