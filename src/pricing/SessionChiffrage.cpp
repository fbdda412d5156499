#include "pricing/SessionChiffrage.h"

#include "data/Poses.h"
#include "data/Poseurs.h"
#include "data/SignalPrix.h"
#include "data/TableTva.h"
#include "data/Tarifs.h"
#include "data/TarifsAutomatiques.h"
#include "model/Echange.h"
#include "model/Tarif.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr TPoseLivraison::OptionLivraison kSousOptions[] = {
    TPoseLivraison::LivraisonCompliquee, TPoseLivraison::LivraisonAutorisation,
    TPoseLivraison::LivraisonManutention};

} // namespace

namespace {

const QString kSuffixeEntree = QStringLiteral(".entree.xml");

// The time stamp of the session's archive copies. Copies opened in the same
// second each take their own: the first free of "stamp", "stamp_2",
// "stamp_3"..., whose input copy is created at once, empty, so that no
// other copy can take it; it is written over once the input is read.
QString ReserverPrefixe(const QString& dossierXml)
{
    const QString horodate = dossierXml + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd_HHmmss"));
    constexpr int kEssais = 1000;
    for (int rang = 1; rang <= kEssais; ++rang) {
        const QString prefixe = rang == 1 ? horodate : horodate + QLatin1Char('_') + QString::number(rang);
        QFile reservation(prefixe + kSuffixeEntree);
        if (reservation.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return prefixe;
        // A folder that takes no file: the copies will fail and say why.
        if (!QFileInfo::exists(reservation.fileName()))
            return prefixe;
    }
    return horodate;
}

} // namespace

TSessionChiffrage::TSessionChiffrage(const QString& dossierProgramme, QObject* parent)
    : QObject(parent)
    , dossierXml(dossierProgramme + QStringLiteral("Xml/"))
{
    QDir().mkdir(dossierXml);
    prefixeHorodate = ReserverPrefixe(dossierXml);
}

TSessionChiffrage::~TSessionChiffrage()
{
    LibererReservation();
}

void TSessionChiffrage::LibererReservation()
{
    // The input copy reserved but never written says nothing: it goes.
    const QFileInfo reservation(prefixeHorodate + kSuffixeEntree);
    if (reservation.isFile() && reservation.size() == 0)
        QFile::remove(reservation.filePath());
}

// ---------------------------------------------------------------------------
// Current item and line

const TMenuiserie* TSessionChiffrage::MenuiserieCourante() const
{
    return indexMenuiserie >= 0 ? &menuiseries[indexMenuiserie] : nullptr;
}

const TTarif* TSessionChiffrage::TarifCourant() const
{
    return indexTarif >= 0 ? &Tarif(indexMenuiserie, indexTarif) : nullptr;
}

void TSessionChiffrage::SetMenuiserieCourante(int index)
{
    indexMenuiserie = index >= 0 && index < menuiseries.Nombre() ? index : -1;
    indexTarif = indexMenuiserie >= 0 && !menuiseries[indexMenuiserie].GetTarifs().EstVide() ? 0 : -1;
    emit MenuiserieCouranteChangee();
    emit TarifCourantChange();
}

void TSessionChiffrage::SetTarifCourant(int index)
{
    const TMenuiserie* menuiserie = MenuiserieCourante();
    indexTarif = menuiserie && index >= 0 && index < menuiserie->GetTarifs().Nombre() ? index : -1;
    emit TarifCourantChange();
}


TTarif& TSessionChiffrage::Tarif(int menuiserie, int tarif)
{
    return menuiseries[menuiserie].GetTarifs()[tarif];
}

const TTarif& TSessionChiffrage::Tarif(int menuiserie, int tarif) const
{
    return menuiseries[menuiserie].GetTarifs()[tarif];
}

// ---------------------------------------------------------------------------
// What changed

void TSessionChiffrage::SignalerMenuiseries()
{
    modifie = true;
    emit MenuiseriesChangees();
    SignalerTotaux();
}

void TSessionChiffrage::SignalerMenuiserie(int menuiserie)
{
    modifie = true;
    emit MenuiserieChangee(menuiserie);
    SignalerTotaux();
}

void TSessionChiffrage::SignalerLignes(int menuiserie, std::optional<int> courante)
{
    // The rows shown follow the lines before the current one is shown.
    const bool courant = menuiserie == indexMenuiserie;
    if (courant)
        indexTarif = courante.value_or(-1);
    SignalerMenuiserie(menuiserie);
    if (courant)
        emit TarifCourantChange();
}

void TSessionChiffrage::SignalerTarif(int menuiserie, int tarif)
{
    modifie = true;
    emit TarifChange(menuiserie, tarif);
    SignalerTotaux();
}

void TSessionChiffrage::SignalerTotaux()
{
    emit TotauxChanges();
}

// ---------------------------------------------------------------------------
// Opening

void TSessionChiffrage::Ouvrir(const Interlocuteur& interlocuteur)
{
    ChoisirOption(TPoseLivraison::Livraison, true);
    QString messageArchive;
    try {
        messageArchive = Charger();
    } catch (...) {
        modifie = false;
        throw;
    }
    if (!messageArchive.isEmpty() && interlocuteur.signalerArchive)
        interlocuteur.signalerArchive(messageArchive);

    bool poseDemandee = false;
    if (poseGlobale.GetId().isEmpty() && interlocuteur.choisirPose) {
        poseDemandee = true;
        if (const std::optional<QString> idPose = interlocuteur.choisirPose(poseGlobale.GetId()))
            ChoisirPoseGlobale(*idPose);
    }
    AffecterTarifsAutomatiques();
    SetMenuiserieCourante(menuiseries.EstVide() ? -1 : 0);
    // The automatic lines came after the choice: they take its VAT too.
    if (poseDemandee && !poseGlobale.GetId().isEmpty())
        DiffuserPoseGlobale();
    SignalerTotaux();
    // What the opening did is the starting point, not the user's work.
    modifie = false;
}

QString TSessionChiffrage::Charger()
{
    DevisEchange devis = LireEchange(fichierEchange, prefixeHorodate);
    const QString messageArchive = MessageArchive(kSuffixeEntree, devis.erreurArchive);
    PrendreDevis(std::move(devis));
    return messageArchive;
}

void TSessionChiffrage::PrendreDevis(DevisEchange devis)
{
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
                poseGlobale.SetChoix(TPoseLivraison::Livraison, true);
        }
    }
    if (devis.aCotes)
        priseDeCote = devis.cotes;
    if (devis.aGlobal)
        quincailleriesGlobales = std::move(devis.quincailleriesGlobales);
    menuiseries = std::move(devis.menuiseries);
    indexMenuiserie = -1;
    indexTarif = -1;
    emit DevisRecharge();
    SignalerTotaux();
}

void TSessionChiffrage::AffecterTarifsAutomatiques()
{
    if (menuiseries.NombreTarifs() > 0)
        return;
    TarifsAutomatiques::Affecter(menuiseries, poseGlobale);
    SignalerMenuiseries();
}

// ---------------------------------------------------------------------------
// Quote-wide kind and delivery

bool TSessionChiffrage::ChoisirPoseGlobale(const QString& idPose)
{
    if (idPose == poseGlobale.GetId())
        return false;
    poseGlobale.SetId(idPose);
    poseGlobale.SetPrix(TPoseLivraison::Livraison, 0.0);
    for (const auto option : kSousOptions)
        poseGlobale.SetChoix(option, false);
    ChargerPose(idPose);
    emit PoseGlobaleChangee();
    emit OptionsLivraisonChangees();
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
    SignalerMenuiseries();
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
    modifie = true;
    emit OptionsLivraisonChangees();
    SignalerTotaux();
}

void TSessionChiffrage::SetPrixLivraison(OptionLivraison option, double prix)
{
    if (prix == poseGlobale.GetPrix(option))
        return;
    poseGlobale.SetPrix(option, prix);
    modifie = true;
    SignalerTotaux();
}

// ---------------------------------------------------------------------------
// Amounts, signal, answer

TotauxDevis TSessionChiffrage::Totaux() const
{
    return CalculerTotaux(poseGlobale, menuiseries, quincailleriesGlobales);
}

Montants TSessionChiffrage::TotauxMenuiserieCourante() const
{
    const TMenuiserie* menuiserie = MenuiserieCourante();
    return menuiserie ? MontantsMenuiserie(*menuiserie) : Montants();
}

Montants TSessionChiffrage::MontantsQuincaillerieCourante() const
{
    const TTarif* tarif = TarifCourant();
    return tarif ? MontantsQuincaillerie(tarif->GetQuincailleries()) : Montants();
}

bool TSessionChiffrage::EcartPrix(int menuiserie, int tarif) const
{
    return ::EcartPrix(Tarif(menuiserie, tarif));
}

MargeLigne TSessionChiffrage::Marge(int menuiserie, int tarif) const
{
    return MargeDuTarif(Tarif(menuiserie, tarif), margeMinimum);
}

std::optional<double> TSessionChiffrage::MargeMenuiserieCourante() const
{
    const Montants totaux = TotauxMenuiserieCourante();
    return TauxMarge(totaux.ht, totaux.achat);
}

std::optional<double> TSessionChiffrage::MargeDevis() const
{
    const TotauxDevis totaux = Totaux();
    return TauxMarge(totaux.ht, totaux.achatHt);
}

std::optional<double> TSessionChiffrage::PrixDeReference(int menuiserie, int tarif) const
{
    return Tarifs::PrixGeneral(Tarif(menuiserie, tarif).GetId());
}

bool TSessionChiffrage::MenuiserieEnEcart(int menuiserie) const
{
    return ::MenuiserieEnEcart(menuiseries[menuiserie]);
}

QVector<bool> TSessionChiffrage::EcartsPrix(int menuiserie, const QVector<int>& tarifs) const
{
    QVector<const TTarif*> lignes;
    lignes.reserve(tarifs.size());
    for (const int tarif : tarifs)
        lignes << &Tarif(menuiserie, tarif);
    return ::EcartsPrix(lignes);
}

QVector<bool> TSessionChiffrage::MenuiseriesEnEcart(const QVector<int>& indexes) const
{
    QVector<const TMenuiserie*> objets;
    objets.reserve(indexes.size());
    for (const int menuiserie : indexes)
        objets << &menuiseries[menuiserie];
    return ::MenuiseriesEnEcart(objets);
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
    indexMenuiserie = -1;
    indexTarif = -1;
    modifie = false;
    emit DevisRecharge();
}
