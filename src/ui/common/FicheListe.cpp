#include "ui/common/FicheListe.h"

#include "data/Enregistrement.h"
#include "ui/common/Clavier.h"
#include "ui/common/Fenetre.h"
#include "ui/common/FicheEdition.h"
#include "ui/common/ListeRapport.h"
#include "ui/common/Messages.h"
#include "ui/common/ObjectCode.h"
#include "ui/common/Protection.h"

#include <QAbstractButton>
#include <QTreeWidget>

TFicheListe::TFicheListe(QWidget* parent)
    : QDialog(parent)
{
}

void TFicheListe::Installer(QTreeWidget* liste, const BoutonsListe& boutons,
                            const TextesListe& textesListe, SelectionApresRemplissage selectionVoulue,
                            OrdreLignes ordreVoulu)
{
    lvListe = liste;
    // The keyboard starts on the rows.
    liste->setFocus();
    textes = textesListe;
    selection = selectionVoulue;
    ordre = ordreVoulu;

    const std::pair<QAbstractButton*, void (TFicheListe::*)()> liaisons[] = {
        {boutons.ajouter, &TFicheListe::btnAjouterClick},
        {boutons.dupliquer, &TFicheListe::btnDupliquerClick},
        {boutons.modifier, &TFicheListe::btnModifierClick},
        {boutons.supprimer, &TFicheListe::btnSupprimerClick},
        {boutons.fermer, &TFicheListe::btnFermerClick},
    };
    for (const auto& [bouton, gestionnaire] : liaisons) {
        if (!bouton)
            continue;
        Connecter(bouton, &QAbstractButton::clicked, this, gestionnaire);
        // The list windows have no default button, so that Enter in the
        // list presses nothing.
        EntreeSurBouton(bouton);
    }
    PreparerFenetre(this);
}

void TFicheListe::Remplir()
{
    ViderListe(lvListe);
    QVector<LigneRapport> lignes = LireLignes();
    if (ordre == OrdreLignes::ParLibelle)
        TrierParLibelle(lignes);
    AjouterLignes(lvListe, lignes);
    if (selection == SelectionApresRemplissage::PremiereLigne && lvListe->topLevelItemCount() > 0)
        lvListe->setCurrentItem(lvListe->topLevelItem(0));
}

std::unique_ptr<TFicheEdition> TFicheListe::CreerEdition()
{
    return nullptr;
}

Enregistrement TFicheListe::SupprimerEnregistrement(const QString&)
{
    // Only a window with a "Supprimer" button gets here, and it has its own.
    return Enregistrement::SupprimeAilleurs;
}

QTreeWidgetItem* TFicheListe::LigneRequise(const QString& action)
{
    return ::LigneRequise(lvListe, textes.une, action, this);
}

void TFicheListe::OuvrirEdition(const QString& cle, bool duplication)
{
    {
        std::unique_ptr<TFicheEdition> fiche = CreerEdition();
        if (!fiche)
            return;
        fiche->SetCle(cle);
        fiche->SetDuplication(duplication);
        fiche->exec();
    }
    Remplir();
}

void TFicheListe::btnAjouterClick()
{
    OuvrirEdition(QString(), false);
}

void TFicheListe::btnDupliquerClick()
{
    if (QTreeWidgetItem* ligne = LigneRequise(QStringLiteral("duplication")))
        OuvrirEdition(GetCode(ligne), true);
}

void TFicheListe::btnModifierClick()
{
    if (QTreeWidgetItem* ligne = LigneRequise(QStringLiteral("modification")))
        OuvrirEdition(GetCode(ligne), false);
}

void TFicheListe::btnSupprimerClick()
{
    QTreeWidgetItem* ligne = LigneRequise(QStringLiteral("suppression"));
    if (!ligne)
        return;
    const QString cle = GetCode(ligne);
    const QString question = QStringLiteral("Etes-vous sûr de vouloir supprimer %1 : %2 ?")
                                 .arg(textes.cette, ligne->text(0));
    if (!Messages::QuestionPerte(question, this))
        return;
    switch (SupprimerEnregistrement(cle)) {
    case Enregistrement::Fait:
        Remplir();
        return;
    case Enregistrement::SupprimeAilleurs:
        Messages::Information(QStringLiteral("La suppression %1 (%2) n'a pas réussi : un autre utilisateur a déjà "
                                             "supprimé %3.")
                                  .arg(textes.de, cle, textes.cette),
                              this);
        Remplir();
        return;
    case Enregistrement::ModifieAilleurs:
        Messages::Information(QStringLiteral("Un autre utilisateur a modifié %1 depuis l'affichage de la liste : "
                                             "rien n'a été supprimé. La liste montre maintenant ce qui est "
                                             "enregistré.")
                                  .arg(textes.cette),
                              this);
        Remplir();
        SelectionnerCle(cle);
        return;
    }
}

void TFicheListe::SelectionnerCle(const QString& cle)
{
    for (int i = 0; i < lvListe->topLevelItemCount(); ++i) {
        QTreeWidgetItem* ligne = lvListe->topLevelItem(i);
        if (GetCode(ligne) == cle) {
            lvListe->setCurrentItem(ligne);
            lvListe->scrollToItem(ligne);
            return;
        }
    }
}

void TFicheListe::btnFermerClick()
{
    reject();
}
