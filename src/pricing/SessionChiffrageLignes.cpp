// The installation lines of the items, their installers and the refresh of
// every stored price.

#include "pricing/SessionChiffrage.h"

#include "data/Poses.h"
#include "data/Poseurs.h"
#include "data/PrixQuincaillerie.h"
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

void PrendreTarif(TTarif& tarif, const TPose& pose, const TSessionChiffrage::ChoixTarif& choix)
{
    tarif.SetId(choix.id);
    tarif.SetLibelle(choix.libelle);
    tarif.SetPrix(choix.prix);
    tarif.SetCodeExport(pose.GetCodeExport());
}

} // namespace

bool TSessionChiffrage::PoseMenuiserieAChoisir(const TMenuiserie& menuiserie)
{
    return QString::compare(menuiserie.GetPose().GetId(), QStringLiteral("1")) < 0;
}

bool TSessionChiffrage::ChoisirPoseMenuiserie(TMenuiserie& menuiserie, const QString& idPose)
{
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
    DiffuserTvaMenuiserie(menuiserie);
    return true;
}

int TSessionChiffrage::AjouterTarif(TMenuiserie& menuiserie, const ChoixTarif& choix)
{
    auto tarif = std::make_unique<TTarif>();
    const TPose& pose = menuiserie.GetPose();
    PrendreTarif(*tarif, pose, choix);
    tarif->SetQuincaillerieIncluse(true);
    tarif->AffecterTva(pose.GetTva());
    const QString poseur = PoseurHerite(menuiserie.GetTarifs());
    tarif->SetPoseurId(poseur);
    // Priced for the quote's default kind, in the chosen tariff's category.
    if (!poseur.isEmpty())
        tarif->SetPoseurPrix(Tarifs::PrixPoseurPourPose(poseGlobale.GetId(), choix.id, poseur).value_or(0.0));
    menuiserie.GetTarifs().Ajouter(std::move(tarif));
    return menuiserie.GetTarifs().Nombre() - 1;
}

QString TSessionChiffrage::PoseurHerite(const TTarifs& tarifs)
{
    QString poseur;
    for (const TTarif& tarif : tarifs) {
        if (poseur.isEmpty())
            poseur = tarif.GetPoseurId();
        else if (tarif.GetPoseurId() != poseur)
            return QString();
    }
    return poseur;
}

int TSessionChiffrage::DupliquerTarif(TMenuiserie& menuiserie, int index)
{
    TTarifs& tarifs = menuiserie.GetTarifs();
    std::unique_ptr<TTarif> copie = tarifs[index].Cloner();
    copie->SetPoseurSiret(QString());
    copie->SetPoseurRge(QString());
    copie->SetQuincaillerieIncluse(true);
    tarifs.Ajouter(std::move(copie));
    return tarifs.Nombre() - 1;
}

void TSessionChiffrage::ModifierTarif(TMenuiserie& menuiserie, int index, const ChoixTarif& choix)
{
    PrendreTarif(menuiserie.GetTarifs()[index], menuiserie.GetPose(), choix);
}

void TSessionChiffrage::SupprimerTarif(TMenuiserie& menuiserie, int index)
{
    menuiserie.GetTarifs().Supprimer(index);
}

void TSessionChiffrage::SupprimerTarifs(TMenuiserie& menuiserie)
{
    menuiserie.GetTarifs().Vider();
}

std::optional<int> TSessionChiffrage::LigneApresSuppression(int index, int restantes)
{
    if (restantes <= 0)
        return std::nullopt;
    return index <= 0 ? 0 : std::min(index - 1, restantes - 1);
}

QString TSessionChiffrage::AffecterPoseur(TTarif& tarif, const QString& idPoseur)
{
    const Poseurs::Identite poseur = Poseurs::LireIdentite(idPoseur);
    tarif.SetPoseurId(idPoseur);
    tarif.SetPoseurNom(poseur.nom);
    tarif.SetPoseurPrix(Tarifs::PrixPoseur(tarif.GetId(), idPoseur).value_or(0.0));
    tarif.SetPoseurSiret(poseur.siret);
    tarif.SetPoseurRge(poseur.rge);
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
    for (TMenuiserie& menuiserie : menuiseries) {
        for (TTarif& tarif : menuiserie.GetTarifs()) {
            if (!SansPoseur(tarif))
                continue;
            tarif.SetPoseurPrix(Tarifs::PrixPoseur(tarif.GetId(), idPoseur).value_or(0.0));
            tarif.SetPoseurId(idPoseur);
            tarif.SetPoseurNom(nom);
        }
    }
}

void TSessionChiffrage::ActualiserPrix()
{
    for (TMenuiserie& menuiserie : menuiseries) {
        for (TTarif& tarif : menuiserie.GetTarifs()) {
            if (const std::optional<double> prix = Tarifs::PrixGeneral(tarif.GetId()))
                tarif.SetPrix(*prix);
            // The installer's own row, as when he was given the line: the
            // row the line points at is the general one, whose price is the
            // sale price, not his.
            if (!tarif.GetPoseurId().isEmpty()) {
                if (const std::optional<double> prix = Tarifs::PrixPoseur(tarif.GetId(), tarif.GetPoseurId()))
                    tarif.SetPoseurPrix(*prix);
            }
            ActualiserQuincailleries(tarif.GetQuincailleries());
        }
    }
    ActualiserQuincailleries(quincailleriesGlobales);
}

void TSessionChiffrage::ActualiserQuincailleries(TQuincailleries& quincailleries)
{
    for (TQuincaillerie& quincaillerie : quincailleries) {
        const std::optional<PrixQuincaillerie::Prix> prix = PrixQuincaillerie::Lire(quincaillerie.GetId());
        if (!prix)
            continue;
        quincaillerie.SetTarifVente(prix->tarifVente);
        quincaillerie.SetTarifAchat(prix->tarifAchat);
        quincaillerie.SetNbPieces(prix->nbPieces);
        quincaillerie.SetNbPiecesMl(prix->nbPiecesMl);
    }
}
