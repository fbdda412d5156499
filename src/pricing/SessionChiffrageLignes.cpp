// The kind and VAT of the items, their installation lines, the installers,
// the hardware and the refresh of every stored price.

#include "pricing/SessionChiffrage.h"

#include "data/Poses.h"
#include "data/Poseurs.h"
#include "data/RechercheQuincaillerie.h"
#include "data/TableTva.h"
#include "data/Tarifs.h"
#include "model/Tarif.h"

namespace {

// In the installer rules a line has no installer while it has no installer's
// name, whatever its key.
bool SansPoseur(const TTarif& tarif)
{
    return tarif.GetPoseurNom().isEmpty() && !tarif.GetLibelle().isEmpty();
}

} // namespace

// ---------------------------------------------------------------------------
// Kind and VAT of an item, VAT of a line

bool TSessionChiffrage::ChoisirPoseMenuiserie(int index, const QString& idPose)
{
    TMenuiserie& menuiserie = Menuiserie(index);
    TPose& pose = menuiserie.GetPose();
    if (idPose == pose.GetId())
        return false;
    pose.SetId(idPose);
    if (const std::optional<Poses::Pose> lue = Poses::Lire(idPose)) {
        pose.SetLibelle(lue->libelle);
        // A kind stored without VAT type reads as type 0, as the engine reads a null.
        if (const auto tva = TableTva::GetTva(lue->typeTva.value_or(0)))
            pose.AffecterTva(*tva);
        pose.SetCodeExport(lue->codeExport);
    }
    menuiserie.AffecterTva(pose.GetTva());
    SignalerMenuiserie(index);
    return true;
}

void TSessionChiffrage::AffecterTvaTarif(int menuiserie, int tarif, const QString& typeTva)
{
    const auto tva = TableTva::GetTva(typeTva);
    if (!tva)
        return;
    Tarif(menuiserie, tarif).AffecterTva(*tva);
    SignalerTarif(menuiserie, tarif);
}

bool TSessionChiffrage::AffecterTvaMenuiserie(int menuiserie, const QString& typeTva)
{
    const auto tva = TableTva::GetTva(typeTva);
    if (!tva)
        return false;
    Menuiserie(menuiserie).GetPose().AffecterTva(*tva);
    SignalerMenuiserie(menuiserie);
    return true;
}

void TSessionChiffrage::DiffuserTvaMenuiserie(int index)
{
    TMenuiserie& menuiserie = Menuiserie(index);
    menuiserie.AffecterTva(menuiserie.GetPose().GetTva());
    SignalerMenuiserie(index);
}

// ---------------------------------------------------------------------------
// Lines

int TSessionChiffrage::AjouterTarif(int index, const ChoixTarif& choix)
{
    TMenuiserie& menuiserie = Menuiserie(index);
    auto tarif = TTarif::Nouveau(menuiserie.GetPose(), choix.id, choix.libelle, choix.prix);
    const QString poseur = menuiserie.GetTarifs().PoseurHerite();
    tarif->SetPoseurId(poseur);
    // Named, as a line given an installer is, so that the answer names him
    // and the next assignment sees him; priced for the quote's default kind,
    // in the chosen tariff's category. His SIRET and RGE stay empty.
    if (!poseur.isEmpty()) {
        tarif->SetPoseurNom(Poseurs::Nom(poseur));
        tarif->SetPoseurPrix(Tarifs::PrixPoseurPourPose(poseGlobale.GetId(), choix.id, poseur).value_or(0.0));
    }
    menuiserie.GetTarifs().Ajouter(std::move(tarif));
    const int ajoute = menuiserie.GetTarifs().Nombre() - 1;
    SignalerLignes(index, ajoute);
    return ajoute;
}

int TSessionChiffrage::DupliquerTarif(int menuiserie, int tarif)
{
    TTarifs& tarifs = Menuiserie(menuiserie).GetTarifs();
    std::unique_ptr<TTarif> copie = tarifs[tarif].Cloner();
    copie->SetPoseurSiret(QString());
    copie->SetPoseurRge(QString());
    copie->SetQuincaillerieIncluse(true);
    tarifs.Ajouter(std::move(copie));
    const int ajoute = tarifs.Nombre() - 1;
    SignalerLignes(menuiserie, ajoute);
    return ajoute;
}

void TSessionChiffrage::ModifierTarif(int menuiserie, int tarif, const ChoixTarif& choix)
{
    Tarif(menuiserie, tarif).PrendreTarif(Menuiserie(menuiserie).GetPose(), choix.id, choix.libelle, choix.prix);
    SignalerTarif(menuiserie, tarif);
}

void TSessionChiffrage::SupprimerTarif(int menuiserie, int tarif)
{
    TTarifs& tarifs = Menuiserie(menuiserie).GetTarifs();
    tarifs.Supprimer(tarif);
    SignalerLignes(menuiserie, LigneApresSuppression(tarif, tarifs.Nombre()));
}

void TSessionChiffrage::SupprimerTarifs(int menuiserie)
{
    Menuiserie(menuiserie).GetTarifs().Vider();
    SignalerLignes(menuiserie, std::nullopt);
}

std::optional<int> LigneApresSuppression(int index, int restantes)
{
    if (restantes <= 0)
        return std::nullopt;
    return index <= 0 ? 0 : std::min(index - 1, restantes - 1);
}

// ---------------------------------------------------------------------------
// Installers

QString TSessionChiffrage::AffecterPoseur(int menuiserie, int index, const QString& idPoseur)
{
    const Poseurs::Identite poseur = Poseurs::LireIdentite(idPoseur);
    TTarif& tarif = Tarif(menuiserie, index);
    tarif.SetPoseurId(idPoseur);
    tarif.SetPoseurNom(poseur.nom);
    tarif.SetPoseurPrix(Tarifs::PrixPoseur(tarif.GetId(), idPoseur).value_or(0.0));
    tarif.SetPoseurSiret(poseur.siret);
    tarif.SetPoseurRge(poseur.rge);
    SignalerTarif(menuiserie, index);
    return poseur.nom;
}

int TSessionChiffrage::NombreTarifsSansPoseur() const
{
    int nombre = 0;
    for (const TMenuiserie& menuiserie : menuiseries) {
        for (const TTarif& tarif : menuiserie.GetTarifs())
            nombre += SansPoseur(tarif) ? 1 : 0;
    }
    return nombre;
}

void TSessionChiffrage::AffecterPoseurATous(const QString& idPoseur, const QString& nom)
{
    QVector<TTarif*> sansPoseur;
    QVector<Tarifs::LignePoseur> lignes;
    for (TMenuiserie& menuiserie : menuiseries) {
        for (TTarif& tarif : menuiserie.GetTarifs()) {
            if (SansPoseur(tarif)) {
                sansPoseur << &tarif;
                lignes.append({tarif.GetId(), idPoseur});
            }
        }
    }
    const QHash<Tarifs::LignePoseur, double> prix = Tarifs::PrixPoseurs(lignes);
    for (qsizetype i = 0; i < sansPoseur.size(); ++i) {
        TTarif& tarif = *sansPoseur[i];
        tarif.SetPoseurPrix(prix.value(lignes[i], 0.0));
        tarif.SetPoseurId(idPoseur);
        tarif.SetPoseurNom(nom);
    }
    SignalerMenuiseries();
}

QString TSessionChiffrage::NomPoseur(int menuiserie, int tarif) const
{
    const QString& cle = Tarif(menuiserie, tarif).GetPoseurId();
    return cle.isEmpty() ? QString() : Poseurs::Nom(cle);
}

// ---------------------------------------------------------------------------
// Hardware

void TSessionChiffrage::SetQuincaillerieIncluse(int menuiserie, int index, bool incluse)
{
    TTarif& tarif = Tarif(menuiserie, index);
    if (tarif.GetQuincaillerieIncluse() == incluse)
        return;
    tarif.SetQuincaillerieIncluse(incluse);
    SignalerTarif(menuiserie, index);
}

void TSessionChiffrage::RemplacerQuincailleries(int menuiserie, int tarif, const TQuincailleries& quincailleries)
{
    Tarif(menuiserie, tarif).GetQuincailleries().CopierDepuis(quincailleries);
    SignalerTarif(menuiserie, tarif);
}

void TSessionChiffrage::RemplacerQuincailleriesGlobales(const TQuincailleries& quincailleries)
{
    quincailleriesGlobales.CopierDepuis(quincailleries);
    modifie = true;
    emit QuincailleriesGlobalesChangees();
    SignalerTotaux();
}

TSessionChiffrage::Actualisation TSessionChiffrage::ActualiserPrix()
{
    // The database may be a network away: every price is read in a few
    // statements for the whole quote, not a few per line.
    QStringList idTarifs;
    QVector<Tarifs::LignePoseur> lignesPoseurs;
    QStringList idQuincailleries;
    const auto retenirQuincailleries = [&idQuincailleries](const TQuincailleries& quincailleries) {
        for (const TQuincaillerie& entree : quincailleries)
            idQuincailleries << entree.GetId();
    };
    for (const TMenuiserie& menuiserie : menuiseries) {
        for (const TTarif& tarif : menuiserie.GetTarifs()) {
            idTarifs << tarif.GetId();
            if (!tarif.GetPoseurId().isEmpty())
                lignesPoseurs.append({tarif.GetId(), tarif.GetPoseurId()});
            retenirQuincailleries(tarif.GetQuincailleries());
        }
    }
    retenirQuincailleries(quincailleriesGlobales);
    const QHash<QString, double> generaux = Tarifs::PrixGeneraux(idTarifs);
    const QHash<Tarifs::LignePoseur, double> desPoseurs = Tarifs::PrixPoseurs(lignesPoseurs);
    const QHash<QString, Quincailleries::PrixCatalogue> catalogue = Quincailleries::PrixDe(idQuincailleries);

    Actualisation changes;
    for (TMenuiserie& menuiserie : menuiseries) {
        for (TTarif& tarif : menuiserie.GetTarifs()) {
            const auto prix = generaux.constFind(tarif.GetId());
            if (prix != generaux.constEnd() && *prix != tarif.GetPrix()) {
                tarif.SetPrix(*prix);
                ++changes.prixVente;
            }
            // The installer's own row, as when he was given the line: the
            // row the line points at is the general one, whose price is the
            // sale price, not his.
            const auto sien = desPoseurs.constFind({tarif.GetId(), tarif.GetPoseurId()});
            if (sien != desPoseurs.constEnd() && *sien != tarif.GetPoseurPrix()) {
                tarif.SetPoseurPrix(*sien);
                ++changes.prixPoseur;
            }
            changes.quincailleries += Quincailleries::Actualiser(tarif.GetQuincailleries(), catalogue);
        }
    }
    changes.quincailleries += Quincailleries::Actualiser(quincailleriesGlobales, catalogue);
    emit QuincailleriesGlobalesChangees();
    SignalerMenuiseries();
    return changes;
}
