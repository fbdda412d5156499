#include "ui/common/ChoixFichier.h"

#include <QFileDialog>
#include <optional>

namespace {

std::optional<QString> prochainNom;

QString Choisir(QWidget* parent, QFileDialog::AcceptMode mode, const QString& titre,
                const QString& dossier, const QString& nomPropose, const QString& filtre,
                const QString& extension)
{
    if (prochainNom) {
        const QString nom = *prochainNom;
        prochainNom.reset();
        return nom;
    }
    QFileDialog dialogue(parent, titre, dossier, filtre);
    dialogue.setAcceptMode(mode);
    dialogue.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                         : QFileDialog::ExistingFile);
    dialogue.setDefaultSuffix(extension);
    if (!nomPropose.isEmpty())
        dialogue.selectFile(nomPropose);
    if (dialogue.exec() != QDialog::Accepted || dialogue.selectedFiles().isEmpty())
        return {};
    return dialogue.selectedFiles().first();
}

} // namespace

namespace ChoixFichier {

QString Enregistrer(QWidget* parent, const QString& titre, const QString& dossier,
                    const QString& nomPropose, const QString& filtre, const QString& extension)
{
    return Choisir(parent, QFileDialog::AcceptSave, titre, dossier, nomPropose, filtre, extension);
}

QString Ouvrir(QWidget* parent, const QString& titre, const QString& dossier,
               const QString& nomPropose, const QString& filtre, const QString& extension)
{
    return Choisir(parent, QFileDialog::AcceptOpen, titre, dossier, nomPropose, filtre, extension);
}

void SetProchainNom(const QString& nom)
{
    prochainNom = nom;
}

} // namespace ChoixFichier
