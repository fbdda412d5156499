#include "pricing/SessionChiffrage.h"

#include "data/Poses.h"
#include "data/Poseurs.h"
#include "data/SignalPrix.h"
#include "data/TableTva.h"
#include "data/TarifsAutomatiques.h"
#include "model/Echange.h"
#include "model/Tarif.h"

#include <QDateTime>
#include <QDir>

namespace {

constexpr TPoseLivraison::OptionLivraison kSousOptions[] = {
    TPoseLivraison::LivraisonCompliquee, TPoseLivraison::LivraisonAutorisation,
    TPoseLivraison::LivraisonManutention};

} // namespace

TSessionChiffrage::TSessionChiffrage(const QString& dossierProgramme)
    : dossierXml(dossierProgramme + QStringLiteral("Xml/"))
{
    QDir().mkdir(dossierXml);
    prefixeHorodate = dossierXml + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd_HHmmss"));
}

TSessionChiffrage::Chargement TSessionChiffrage::Charger()
{
    DevisEchange devis = LireEchange(fichierEchange, prefixeHorodate);
    const Chargement chargement{devis.aPose, devis.aCotes, devis.aGlobal,
                                MessageArchive(QStringLiteral(".entree.xml"), devis.erreurArchive)};

    if (devis.aPose) {
        for (const auto option : TPoseLivraison::kOptions) {
            if (devis.aOption[option])
                continue;
            devis.poseGlobale.SetChoix(option, poseGlobale.GetChoix(option));
            devis.poseGlobale.SetPrix(option, poseGlobale.GetPrix(option));
            devis.poseGlobale.SetCodeExportOption(option, poseGlobale.GetCodeExportOption(option));
        }
        poseGlobale = devis.poseGlobale;
        for (const auto option : kSousOptions) {
            if (poseGlobale.GetChoix(option))
                ChoisirOption(option, true);
        }
    }
    if (devis.aCotes)
        priseDeCote = devis.cotes;
    if (devis.aGlobal)
        quincailleriesGlobales = std::move(devis.quincailleriesGlobales);
    menuiseries = std::move(devis.menuiseries);
    return chargement;
}

void TSessionChiffrage::AffecterTarifsAutomatiques()
{
    TarifsAutomatiques::Affecter(menuiseries, poseGlobale);
}

bool TSessionChiffrage::ChoisirPoseGlobale(const QString& idPose)
{
    if (idPose == poseGlobale.GetId())
        return false;
    poseGlobale.SetId(idPose);
    poseGlobale.SetPrix(TPoseLivraison::Livraison, 0.0);
    for (const auto option : kSousOptions)
        poseGlobale.SetChoix(option, false);
    ChargerPose(idPose);
    // Every item takes the new kind, replacing any chosen item by item.
    DiffuserPoseGlobale();
    return true;
}

void TSessionChiffrage::ChargerPose(const QString& idPose)
{
    // A kind that is gone (or doubled) keeps the former label, prices and VAT.
    const std::optional<Poses::Pose> pose = Poses::Lire(idPose);
    if (!pose)
        return;
    poseGlobale.SetLibelle(pose->libelle);
    poseGlobale.SetCodeExport(pose->codeExport);
    for (const auto option : TPoseLivraison::kOptions) {
        poseGlobale.SetPrix(option, pose->prix[option]);
        poseGlobale.SetCodeExportOption(option, pose->codesExport[option]);
    }
    // A kind stored without VAT type reads as type 0, as the engine reads a null.
    if (const auto tva = TableTva::GetTva(pose->typeTva.value_or(0)))
        poseGlobale.AffecterTva(*tva);
}

void TSessionChiffrage::DiffuserPoseGlobale()
{
    menuiseries.AffecterPose(poseGlobale);
    menuiseries.AffecterTva(poseGlobale.GetTva());
}

void TSessionChiffrage::ChoisirOption(OptionLivraison option, bool choisie)
{
    if (option == TPoseLivraison::Livraison && !choisie) {
        for (const auto sousOption : kSousOptions)
            poseGlobale.SetChoix(sousOption, false);
    } else if (option != TPoseLivraison::Livraison && choisie) {
        poseGlobale.SetChoix(TPoseLivraison::Livraison, true);
    }
    poseGlobale.SetChoix(option, choisie);
}

void TSessionChiffrage::AffecterTvaTarif(TTarif& tarif, const QString& typeTva)
{
    if (const auto tva = TableTva::GetTva(typeTva))
        tarif.AffecterTva(*tva);
}

bool TSessionChiffrage::AffecterTvaMenuiserie(TMenuiserie& menuiserie, const QString& typeTva)
{
    const auto tva = TableTva::GetTva(typeTva);
    if (!tva)
        return false;
    menuiserie.GetPose().AffecterTva(*tva);
    return true;
}

void TSessionChiffrage::DiffuserTvaMenuiserie(TMenuiserie& menuiserie)
{
    menuiserie.AffecterTva(menuiserie.GetPose().GetTva());
}

TotauxDevis TSessionChiffrage::Totaux() const
{
    return CalculerTotaux(poseGlobale, menuiseries, quincailleriesGlobales);
}

QString TSessionChiffrage::NomPoseur(const TTarif& tarif) const
{
    return tarif.GetPoseurId().isEmpty() ? QString() : Poseurs::Nom(tarif.GetPoseurId());
}

bool TSessionChiffrage::EcartPrix(const TTarif& tarif) const
{
    return ::EcartPrix(tarif);
}

bool TSessionChiffrage::MenuiserieEnEcart(const TMenuiserie& menuiserie) const
{
    return ::MenuiserieEnEcart(menuiserie);
}

QString TSessionChiffrage::EcrireReponse() const
{
    const QString erreurArchive = EcrireEchange(poseGlobale, priseDeCote, quincailleriesGlobales, menuiseries,
                                                fichierEchange, prefixeHorodate);
    return MessageArchive(QStringLiteral(".sortie.xml"), erreurArchive);
}

QString TSessionChiffrage::MessageArchive(const QString& suffixe, const QString& erreur) const
{
    if (erreur.isEmpty())
        return QString();
    return QStringLiteral("La copie d'archive « %1 » n'a pas pu être écrite :\n%2")
        .arg(QDir::toNativeSeparators(prefixeHorodate + suffixe), erreur);
}

void TSessionChiffrage::Vider()
{
    menuiseries.Vider();
    quincailleriesGlobales.Vider();
    poseGlobale = TPoseLivraison();
}
