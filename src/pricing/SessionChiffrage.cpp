#include "pricing/SessionChiffrage.h"

#include "model/Echange.h"
#include "model/Formats.h"
#include "pricing/DonneesChiffrage.h"
#include "pricing/Reprise.h"
#include "pricing/SessionChiffrageEtapes.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

// A change is in the recovery file within a second, however many follow it
// meanwhile; for a quote whose answer takes long to make, the screen is
// left to the user at least nine tenths of the time.
constexpr qint64 kDelaiReprise = 1000;
constexpr qint64 kPartDeLEcran = 10;

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
    : TSessionChiffrage(dossierProgramme, DonneesDeLaBase(), parent)
{
}

TSessionChiffrage::TSessionChiffrage(const QString& dossierProgramme, const TDonneesChiffrage& donnees,
                                     QObject* parent)
    : QObject(parent)
    , donnees(donnees)
    , dossierXml(dossierProgramme + QStringLiteral("Xml/"))
{
    QDir().mkdir(dossierXml);
    minuterieReprise.setSingleShot(true);
    minuterieReprise.setInterval(kDelaiReprise);
    connect(&minuterieReprise, &QTimer::timeout, this, &TSessionChiffrage::EcrireReprise);
}

TSessionChiffrage::~TSessionChiffrage()
{
    // Stopped otherwise than by the user's wish, the session keeps its last
    // change in its recovery file, as far as it can.
    try {
        if (reprise && minuterieReprise.isActive() && !etapeOuverte)
            EcrireReprise();
    } catch (...) {
    }
    reprise.reset();
    if (!prefixeHorodate.isEmpty())
        LibererReservation();
}

void TSessionChiffrage::LibererReservation()
{
    // The input copy reserved but never written says nothing: it goes.
    const QFileInfo reservation(prefixeHorodate + kSuffixeEntree);
    if (reservation.isFile() && reservation.size() == 0)
        QFile::remove(reservation.filePath());
}

const QString& TSessionChiffrage::PrefixeReserve()
{
    if (prefixeHorodate.isEmpty())
        prefixeHorodate = ReserverPrefixe(dossierXml);
    return prefixeHorodate;
}

QString TSessionChiffrage::GetFichierReprise() const
{
    return prefixeHorodate.isEmpty() ? QString() : prefixeHorodate + QStringLiteral(".reprise.xml");
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

std::optional<TTva> TSessionChiffrage::Tva(const QString& typeTva) const
{
    const std::optional<int> type = LireEntier(typeTva);
    return type ? donnees.Tva(*type) : std::nullopt;
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
        pile.clear();
        throw;
    }
    if (!messageArchive.isEmpty() && interlocuteur.signalerArchive)
        interlocuteur.signalerArchive(messageArchive);
    DemarrerReprise();
    const bool reprisePrise = ProposerReprise(interlocuteur);

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
    poseRefuseeAOuverture = poseDemandee && poseGlobale.GetId().isEmpty();
    // What the opening did is the starting point, not the user's work; a
    // session taken back differs from the host's file all the same.
    pile.clear();
    if (reprisePrise)
        pile.resetClean();
    emit TotauxChanges();
    connect(&pile, &QUndoStack::indexChanged, &minuterieReprise, [this] {
        if (!minuterieReprise.isActive())
            minuterieReprise.start();
    });
    if (EstModifie())
        minuterieReprise.start();
}

QString TSessionChiffrage::Charger()
{
    DevisEchange devis = LireEchange(fichierEchange, PrefixeReserve());
    const QString messageArchive = MessageArchive(kSuffixeEntree, devis.erreurArchive);
    PrendreDevis(std::move(devis));
    return messageArchive;
}

void TSessionChiffrage::PrendreDevis(DevisEchange devis)
{
    if (devis.aPose) {
        // A delivery price is kept as the screen shows it, to the cent.
        for (const auto option : TPoseLivraison::kOptions) {
            if (devis.aOption[option]) {
                devis.poseGlobale.SetPrix(option, AuCentime(devis.poseGlobale.GetPrix(option)));
                continue;
            }
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
    pile.clear();
    emit DevisRecharge();
    emit TotauxChanges();
}

void TSessionChiffrage::DemarrerReprise()
{
    reprise = std::make_unique<TFichierReprise>(PrefixeReserve());
    // A folder that takes no file: no recovery file is kept.
    if (!reprise->EstVerrouille())
        reprise.reset();
}

namespace {

QString QuestionReprise(const RepriseTrouvee& trouvee)
{
    const TMenuiseries& menuiseries = trouvee.devis.menuiseries;
    const auto avecLignes = std::count_if(menuiseries.begin(), menuiseries.end(),
                                          [](const TMenuiserie& menuiserie) { return !menuiserie.GetTarifs().EstVide(); });
    const QString contenu = avecLignes == 0   ? QStringLiteral("aucune menuiserie avec des lignes de pose")
                            : avecLignes == 1 ? QStringLiteral("1 menuiserie avec des lignes de pose")
                                              : QStringLiteral("%1 menuiseries avec des lignes de pose").arg(avecLignes);
    return QStringLiteral("Un chiffrage de ce devis a été interrompu le %1 à %2, avant d'être validé. "
                          "Il comptait %3, sur %4.\n\n"
                          "Voulez-vous le reprendre ?\n"
                          "(« Non » ouvre le devis tel que l'hôte l'a écrit et garde le chiffrage interrompu de côté.)")
        .arg(trouvee.ecriture.toString(QStringLiteral("dd/MM/yyyy")), trouvee.ecriture.toString(QStringLiteral("HH:mm")),
             contenu)
        .arg(menuiseries.Nombre());
}

} // namespace

bool TSessionChiffrage::ProposerReprise(const Interlocuteur& interlocuteur)
{
    if (!reprise || !interlocuteur.reprendre)
        return false;
    std::optional<RepriseTrouvee> trouvee;
    try {
        trouvee = ChercherReprise(dossierXml, prefixeHorodate);
    } catch (const std::exception& erreur) {
        // It stays where it is; the quote is the host's.
        if (interlocuteur.signalerReprise)
            interlocuteur.signalerReprise(QString::fromUtf8(erreur.what()));
        return false;
    }
    if (!trouvee)
        return false;
    if (!interlocuteur.reprendre(QuestionReprise(*trouvee))) {
        Ecarter(*trouvee);
        return false;
    }
    PrendreDevis(std::move(trouvee->devis));
    // Its file becomes this session's: the work is never without one.
    Reprendre(*trouvee, GetFichierReprise());
    return true;
}

void TSessionChiffrage::EcrireReprise()
{
    if (!reprise)
        return;
    // A step still being made (a question on screen) is not written half done.
    if (etapeOuverte) {
        minuterieReprise.start();
        return;
    }
    if (!EstModifie()) {
        reprise->Supprimer();
        return;
    }
    QElapsedTimer duree;
    duree.start();
    reprise->Ecrire(ContenuReponse());
    minuterieReprise.setInterval(static_cast<int>(std::max(kDelaiReprise, kPartDeLEcran * duree.elapsed())));
}

int TSessionChiffrage::AffecterTarifsAutomatiques()
{
    if (menuiseries.NombreTarifs() > 0)
        return 0;
    try {
        donnees.AffecterTarifsAutomatiques(menuiseries, poseGlobale);
    } catch (...) {
        // None had any line: none keeps any.
        for (TMenuiserie& menuiserie : menuiseries)
            menuiserie.GetTarifs().Vider();
        throw;
    }
    // The lines came in silently: they are taken out and put back as a
    // change of the stack, which says it.
    int ajoutees = 0;
    Modifier(QStringLiteral("ajout des lignes automatiques"), [&] {
        for (int index = 0; index < menuiseries.Nombre(); ++index) {
            TTarifs& tarifs = Menuiserie(index).GetTarifs();
            std::vector<std::unique_ptr<TTarif>> lignes;
            while (!tarifs.EstVide())
                lignes.push_back(tarifs.Extraire(0));
            ajoutees += static_cast<int>(lignes.size());
            if (!lignes.empty())
                Faire(std::make_unique<ChangementStructure>(index, 0, std::move(lignes)));
        }
        if (indexMenuiserie >= 0)
            Placer(indexMenuiserie, 0);
    });
    return ajoutees;
}

bool TSessionChiffrage::TarifsAutomatiquesAProposer() const
{
    return poseRefuseeAOuverture && !poseGlobale.GetId().isEmpty() && !menuiseries.EstVide()
           && menuiseries.NombreTarifs() == 0;
}

// ---------------------------------------------------------------------------
// Quote-wide kind and delivery

namespace {

QString NomOption(TPoseLivraison::OptionLivraison option)
{
    switch (option) {
    case TPoseLivraison::Livraison:
        return QStringLiteral("Livraison");
    case TPoseLivraison::LivraisonCompliquee:
        return QStringLiteral("Livraison compliquée");
    case TPoseLivraison::LivraisonAutorisation:
        return QStringLiteral("Autorisation de voirie");
    case TPoseLivraison::LivraisonManutention:
        break;
    }
    return QStringLiteral("Manutention");
}

} // namespace

bool TSessionChiffrage::ChoisirPoseGlobale(const QString& idPose)
{
    if (idPose == poseGlobale.GetId())
        return false;
    // A kind that is gone (or doubled) keeps the former label, prices and VAT.
    const std::optional<TDonneesChiffrage::Pose> lue = donnees.LirePose(idPose);
    // A kind stored without VAT type reads as type 0, as the engine reads a null.
    const std::optional<TTva> tva = lue ? donnees.Tva(lue->typeTva.value_or(0)) : std::nullopt;
    Modifier(QStringLiteral("choix de la pose « %1 » pour le devis").arg(lue ? lue->libelle : idPose), [&] {
        ChangerDevis([&](TPoseLivraison& pose, bool&) {
            pose.SetId(idPose);
            pose.SetPrix(TPoseLivraison::Livraison, 0.0);
            for (const auto option : kSousOptions)
                pose.SetChoix(option, false);
            if (!lue)
                return;
            pose.SetLibelle(lue->libelle);
            pose.SetCodeExport(lue->codeExport);
            for (const auto option : TPoseLivraison::kOptions) {
                pose.SetPrix(option, AuCentime(lue->prix[option]));
                pose.SetCodeExportOption(option, lue->codesExport[option]);
            }
            if (tva)
                pose.AffecterTva(*tva);
        });
        // Every item takes the new kind, replacing any chosen item by item.
        DiffuserPoseGlobale();
    });
    return true;
}

void TSessionChiffrage::DiffuserPoseGlobale()
{
    Modifier(QStringLiteral("pose du devis donnée à toutes les menuiseries"), [&] {
        ChangerPoses(ToutesLesMenuiseries(), [&](TPose& pose) { pose.AffecterPose(poseGlobale); });
        ChangerLignes(ToutesLesLignes(), [&](TTarif& valeurs, int) { valeurs.AffecterTva(poseGlobale.GetTva()); });
    });
}

void TSessionChiffrage::ChoisirOption(OptionLivraison option, bool choisie)
{
    const QString texte = choisie ? QStringLiteral("choix de « %1 »") : QStringLiteral("retrait de « %1 »");
    Modifier(texte.arg(NomOption(option)), [&] {
        ChangerDevis([&](TPoseLivraison& pose, bool&) {
            if (option == TPoseLivraison::Livraison && !choisie) {
                for (const auto sousOption : kSousOptions)
                    pose.SetChoix(sousOption, false);
            } else if (option != TPoseLivraison::Livraison && choisie) {
                pose.SetChoix(TPoseLivraison::Livraison, true);
            }
            pose.SetChoix(option, choisie);
        });
    });
}

void TSessionChiffrage::SetPrixLivraison(OptionLivraison option, double prix)
{
    Modifier(QStringLiteral("prix de « %1 »").arg(NomOption(option)), [&] {
        ChangerDevis([&](TPoseLivraison& pose, bool&) { pose.SetPrix(option, prix); });
    });
}

RefusMontant TSessionChiffrage::SaisirPrixLivraison(OptionLivraison option, const QString& texte)
{
    MontantSaisi prix = LireMontantSaisi(texte);
    // -1 is the "not a number" mark of the price check: typed, it is refused too.
    if (prix.refus == RefusMontant::Aucun && prix.valeur == -1.0)
        prix.refus = RefusMontant::Illisible;
    if (prix.refus == RefusMontant::Aucun)
        SetPrixLivraison(option, prix.valeur);
    return prix.refus;
}

void TSessionChiffrage::SetPriseDeCote(bool valeur)
{
    Modifier(valeur ? QStringLiteral("« Prise de côte » cochée") : QStringLiteral("« Prise de côte » décochée"), [&] {
        ChangerDevis([&](TPoseLivraison&, bool& cotes) { cotes = valeur; });
    });
}

void TSessionChiffrage::ChangerDevis(const std::function<void(TPoseLivraison& pose, bool& cotes)>& changer)
{
    TPoseLivraison pose = poseGlobale;
    bool cotes = priseDeCote;
    changer(pose, cotes);
    Faire(std::make_unique<ChangementDevis>(poseGlobale, priseDeCote, pose, cotes));
}

// ---------------------------------------------------------------------------
// Amounts, signal, what is left, answer

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

namespace {

// The red signal of a line, its general tariff's price read.
bool Ecart(const QHash<QString, double>& generaux, const TTarif& tarif)
{
    const auto reference = generaux.constFind(tarif.GetId());
    return reference != generaux.constEnd() && *reference != tarif.GetPrix();
}

} // namespace

bool TSessionChiffrage::EcartPrix(int menuiserie, int tarif) const
{
    return EcartsPrix(menuiserie, {tarif}).constFirst();
}

std::optional<double> TSessionChiffrage::PrixDeReference(int menuiserie, int tarif) const
{
    const QString& id = Tarif(menuiserie, tarif).GetId();
    const QHash<QString, double> generaux = donnees.PrixGeneraux({id});
    const auto prix = generaux.constFind(id);
    return prix != generaux.constEnd() ? std::optional(*prix) : std::nullopt;
}

bool TSessionChiffrage::MenuiserieEnEcart(int menuiserie) const
{
    return MenuiseriesEnEcart({menuiserie}).constFirst();
}

QVector<bool> TSessionChiffrage::EcartsPrix(int menuiserie, const QVector<int>& tarifs) const
{
    QStringList cles;
    for (const int tarif : tarifs)
        cles << Tarif(menuiserie, tarif).GetId();
    const QHash<QString, double> generaux = donnees.PrixGeneraux(cles);
    QVector<bool> ecarts;
    ecarts.reserve(tarifs.size());
    for (const int tarif : tarifs)
        ecarts << Ecart(generaux, Tarif(menuiserie, tarif));
    return ecarts;
}

QVector<bool> TSessionChiffrage::MenuiseriesEnEcart(const QVector<int>& indexes) const
{
    QStringList cles;
    for (const int menuiserie : indexes) {
        for (const TTarif& tarif : menuiseries[menuiserie].GetTarifs())
            cles << tarif.GetId();
    }
    const QHash<QString, double> generaux = donnees.PrixGeneraux(cles);
    QVector<bool> ecarts;
    ecarts.reserve(indexes.size());
    for (const int menuiserie : indexes) {
        const TTarifs& tarifs = menuiseries[menuiserie].GetTarifs();
        ecarts << std::any_of(tarifs.begin(), tarifs.end(), [&](const TTarif& tarif) { return Ecart(generaux, tarif); });
    }
    return ecarts;
}

ResteAFaire TSessionChiffrage::Reste() const
{
    QStringList cles;
    for (const TMenuiserie& menuiserie : menuiseries) {
        for (const TTarif& tarif : menuiserie.GetTarifs())
            cles << tarif.GetId();
    }
    const QHash<QString, double> generaux = donnees.PrixGeneraux(cles);
    ResteAFaire reste;
    for (int m = 0; m < menuiseries.Nombre(); ++m) {
        const TTarifs& tarifs = menuiseries[m].GetTarifs();
        if (tarifs.EstVide()) {
            ++reste.menuiseriesSansLigne;
            reste.positions.append({m, -1});
        }
        for (int t = 0; t < tarifs.Nombre(); ++t) {
            const TTarif& tarif = tarifs[t];
            const AlerteMarge alerte = MargeDuTarif(tarif, margeMinimum).alerte;
            const bool sansPoseur = tarif.GetPoseurNom().isEmpty();
            const bool sousMarge = alerte == AlerteMarge::Perte || alerte == AlerteMarge::SousMinimum;
            const bool rouge = Ecart(generaux, tarif);
            reste.lignesSansPoseur += sansPoseur;
            reste.lignesSousMarge += sousMarge;
            reste.lignesEnRouge += rouge;
            if (sansPoseur || sousMarge || rouge)
                reste.positions.append({m, t});
        }
    }
    return reste;
}

QByteArray TSessionChiffrage::ContenuReponse() const
{
    return ContenuEchange(poseGlobale, priseDeCote, quincailleriesGlobales, menuiseries);
}

QString TSessionChiffrage::EcrireReponse()
{
    // No write of the recovery file runs beside the answer's.
    if (reprise)
        reprise->Attendre();
    const QString erreurArchive = EcrireEchange(poseGlobale, priseDeCote, quincailleriesGlobales, menuiseries,
                                                fichierEchange, PrefixeReserve());
    return MessageArchive(QStringLiteral(".sortie.xml"), erreurArchive);
}

void TSessionChiffrage::Terminer()
{
    minuterieReprise.stop();
    if (reprise) {
        reprise->Supprimer();
        reprise.reset();
    }
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
    pile.clear();
    emit DevisRecharge();
}
