// The kind and VAT of the items, their installation lines, the installers,
// the hardware and the refresh of every stored price.

#include "pricing/SessionChiffrage.h"

#include "model/Formats.h"
#include "pricing/DonneesChiffrage.h"
#include "pricing/SessionChiffrageEtapes.h"

#include <numeric>

namespace {

// In the installer rules a line has no installer while it has no installer's
// name, whatever its key.
bool SansPoseur(const TTarif& tarif)
{
    return tarif.GetPoseurNom().isEmpty() && !tarif.GetLibelle().isEmpty();
}

} // namespace

// ---------------------------------------------------------------------------
// The parts of the quote a rule changes

QVector<std::pair<int, int>> TSessionChiffrage::LignesDe(int menuiserie) const
{
    QVector<std::pair<int, int>> lignes;
    for (int tarif = 0; tarif < menuiseries[menuiserie].GetTarifs().Nombre(); ++tarif)
        lignes.append({menuiserie, tarif});
    return lignes;
}

QVector<std::pair<int, int>> TSessionChiffrage::ToutesLesLignes() const
{
    QVector<std::pair<int, int>> lignes;
    lignes.reserve(menuiseries.NombreTarifs());
    for (int menuiserie = 0; menuiserie < menuiseries.Nombre(); ++menuiserie)
        lignes += LignesDe(menuiserie);
    return lignes;
}

QVector<int> TSessionChiffrage::ToutesLesMenuiseries() const
{
    QVector<int> indexes(menuiseries.Nombre());
    std::iota(indexes.begin(), indexes.end(), 0);
    return indexes;
}

QString TSessionChiffrage::NomLigne(int menuiserie, int tarif) const
{
    return Tarif(menuiserie, tarif).GetLibelle();
}

void TSessionChiffrage::ChangerLignes(const QVector<std::pair<int, int>>& lignes,
                                      const std::function<void(TTarif& valeurs, int i)>& changer)
{
    auto changement = std::make_unique<ChangementLignes>();
    for (int i = 0; i < lignes.size(); ++i) {
        const auto [menuiserie, tarif] = lignes[i];
        std::unique_ptr<TTarif> apres = ValeursDe(Tarif(menuiserie, tarif));
        changer(*apres, i);
        changement->Ajouter(menuiserie, tarif, ValeursDe(Tarif(menuiserie, tarif)), std::move(apres));
    }
    Faire(std::move(changement));
}

void TSessionChiffrage::ChangerPoses(const QVector<int>& indexes, const std::function<void(TPose& pose)>& changer)
{
    auto changement = std::make_unique<ChangementPoses>();
    for (const int menuiserie : indexes) {
        const TPose& avant = Menuiserie(menuiserie).GetPose();
        TPose apres = avant;
        changer(apres);
        changement->Ajouter(menuiserie, avant, apres);
    }
    Faire(std::move(changement));
}

// ---------------------------------------------------------------------------
// Kind and VAT of an item, VAT of a line

bool TSessionChiffrage::ChoisirPoseMenuiserie(int index, const QString& idPose)
{
    if (idPose == Menuiserie(index).GetPose().GetId())
        return false;
    // A kind that is gone (or doubled) keeps the former label, VAT and export code.
    const std::optional<TDonneesChiffrage::Pose> lue = donnees.LirePose(idPose);
    // A kind stored without VAT type reads as type 0, as the engine reads a null.
    const std::optional<TTva> tva = lue ? donnees.Tva(lue->typeTva.value_or(0)) : std::nullopt;
    const QString texte = QStringLiteral("choix de la pose « %1 » pour « %2 »")
                              .arg(lue ? lue->libelle : idPose, Menuiserie(index).GetLibelle());
    Modifier(texte, [&] {
        ChangerPoses({index}, [&](TPose& pose) {
            pose.SetId(idPose);
            if (!lue)
                return;
            pose.SetLibelle(lue->libelle);
            if (tva)
                pose.AffecterTva(*tva);
            pose.SetCodeExport(lue->codeExport);
        });
        const TTva& sienne = Menuiserie(index).GetPose().GetTva();
        ChangerLignes(LignesDe(index), [&](TTarif& valeurs, int) { valeurs.AffecterTva(sienne); });
    });
    return true;
}

void TSessionChiffrage::AffecterTvaTarif(int menuiserie, int tarif, const QString& typeTva)
{
    const std::optional<TTva> tva = Tva(typeTva);
    if (!tva)
        return;
    Modifier(QStringLiteral("TVA de la ligne « %1 »").arg(NomLigne(menuiserie, tarif)), [&] {
        ChangerLignes({{menuiserie, tarif}}, [&](TTarif& valeurs, int) { valeurs.AffecterTva(*tva); });
    });
}

bool TSessionChiffrage::AffecterTvaMenuiserie(int menuiserie, const QString& typeTva)
{
    const std::optional<TTva> tva = Tva(typeTva);
    if (!tva)
        return false;
    Modifier(QStringLiteral("TVA de « %1 »").arg(Menuiserie(menuiserie).GetLibelle()), [&] {
        ChangerPoses({menuiserie}, [&](TPose& pose) { pose.AffecterTva(*tva); });
    });
    return true;
}

void TSessionChiffrage::DiffuserTvaMenuiserie(int index)
{
    Modifier(QStringLiteral("TVA de « %1 » donnée à ses lignes").arg(Menuiserie(index).GetLibelle()), [&] {
        const TTva& sienne = Menuiserie(index).GetPose().GetTva();
        ChangerLignes(LignesDe(index), [&](TTarif& valeurs, int) { valeurs.AffecterTva(sienne); });
    });
}

void TSessionChiffrage::ChoisirTvaTarif(int menuiserie, int tarif, const QString& typeTva, const Question& question)
{
    Modifier(QStringLiteral("TVA de la ligne « %1 »").arg(NomLigne(menuiserie, tarif)), [&] {
        AffecterTvaTarif(menuiserie, tarif, typeTva);
        // An item whose VAT the table lacks shows none: it differs from any line's.
        const int typeMenuiserie = Menuiserie(menuiserie).GetPose().GetTva().GetTypeTva();
        const bool differe = LireEntier(typeTva) != typeMenuiserie || !donnees.Tva(typeMenuiserie);
        if (differe && question(QStringLiteral("Voulez-vous affecter la nouvelle TVA de ce tarif de pose à la menuiserie ?")))
            ChoisirTvaMenuiserie(menuiserie, typeTva, question);
    });
}

void TSessionChiffrage::ChoisirTvaMenuiserie(int menuiserie, const QString& typeTva, const Question& question)
{
    const int ancien = Menuiserie(menuiserie).GetPose().GetTva().GetTypeTva();
    Modifier(QStringLiteral("TVA de « %1 »").arg(Menuiserie(menuiserie).GetLibelle()), [&] {
        if (!AffecterTvaMenuiserie(menuiserie, typeTva))
            return;
        if (LireEntier(typeTva) != ancien && !Menuiserie(menuiserie).GetTarifs().EstVide()
            && question(QStringLiteral("Voulez-vous affecter la nouvelle TVA aux tarifs de pose de cette menuiserie ?")))
            DiffuserTvaMenuiserie(menuiserie);
    });
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
    // and the next assignment sees him; priced as the assignment prices him,
    // so that a refresh finds his price as it is. His SIRET and RGE stay empty.
    if (!poseur.isEmpty()) {
        tarif->SetPoseurNom(donnees.LirePoseur(poseur).nom);
        tarif->SetPoseurPrix(PrixPoseur(choix.id, poseur));
    }
    const int ajoute = menuiserie.GetTarifs().Nombre();
    Modifier(QStringLiteral("ajout de la ligne « %1 »").arg(choix.libelle), [&] {
        std::vector<std::unique_ptr<TTarif>> lignes;
        lignes.push_back(std::move(tarif));
        Faire(std::make_unique<ChangementStructure>(index, ajoute, std::move(lignes)));
        Placer(index, ajoute);
    });
    return ajoute;
}

int TSessionChiffrage::DupliquerTarif(int menuiserie, int tarif)
{
    std::unique_ptr<TTarif> copie = Tarif(menuiserie, tarif).Cloner();
    copie->SetPoseurSiret(QString());
    copie->SetPoseurRge(QString());
    copie->SetQuincaillerieIncluse(true);
    const int ajoute = Menuiserie(menuiserie).GetTarifs().Nombre();
    Modifier(QStringLiteral("copie de la ligne « %1 »").arg(NomLigne(menuiserie, tarif)), [&] {
        std::vector<std::unique_ptr<TTarif>> lignes;
        lignes.push_back(std::move(copie));
        Faire(std::make_unique<ChangementStructure>(menuiserie, ajoute, std::move(lignes)));
        Placer(menuiserie, ajoute);
    });
    return ajoute;
}

void TSessionChiffrage::ModifierTarif(int menuiserie, int tarif, const ChoixTarif& choix)
{
    Modifier(QStringLiteral("changement du tarif de la ligne « %1 »").arg(NomLigne(menuiserie, tarif)), [&] {
        ChangerLignes({{menuiserie, tarif}}, [&](TTarif& valeurs, int) {
            valeurs.PrendreTarif(Menuiserie(menuiserie).GetPose(), choix.id, choix.libelle, choix.prix);
        });
    });
}

void TSessionChiffrage::SupprimerTarif(int menuiserie, int tarif)
{
    Modifier(QStringLiteral("suppression de la ligne « %1 »").arg(NomLigne(menuiserie, tarif)), [&] {
        Faire(std::make_unique<ChangementStructure>(menuiserie, tarif, 1));
        if (menuiserie == indexMenuiserie)
            Placer(menuiserie, LigneApresSuppression(tarif, Menuiserie(menuiserie).GetTarifs().Nombre()).value_or(-1));
    });
}

void TSessionChiffrage::SupprimerTarifs(int menuiserie)
{
    Modifier(QStringLiteral("suppression des lignes de « %1 »").arg(Menuiserie(menuiserie).GetLibelle()), [&] {
        Faire(std::make_unique<ChangementStructure>(menuiserie, 0, Menuiserie(menuiserie).GetTarifs().Nombre()));
        if (menuiserie == indexMenuiserie)
            Placer(menuiserie, -1);
    });
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
    const TDonneesChiffrage::Poseur poseur = donnees.LirePoseur(idPoseur);
    const double prix = PrixPoseur(Tarif(menuiserie, index).GetId(), idPoseur);
    const QString nom = poseur.nom.isEmpty() ? idPoseur : poseur.nom;
    Modifier(QStringLiteral("poseur « %1 » donné à la ligne « %2 »").arg(nom, NomLigne(menuiserie, index)), [&] {
        ChangerLignes({{menuiserie, index}}, [&](TTarif& valeurs, int) {
            valeurs.SetPoseurId(idPoseur);
            valeurs.SetPoseurNom(poseur.nom);
            valeurs.SetPoseurPrix(prix);
            valeurs.SetPoseurSiret(poseur.siret);
            valeurs.SetPoseurRge(poseur.rge);
        });
    });
    return poseur.nom;
}

double TSessionChiffrage::PrixPoseur(const QString& idTarif, const QString& idPoseur) const
{
    const TDonneesChiffrage::LignePoseur ligne{idTarif, idPoseur};
    return donnees.PrixPoseurs({ligne}).value(ligne, 0.0);
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
    QVector<std::pair<int, int>> sansPoseur;
    QVector<TDonneesChiffrage::LignePoseur> lignes;
    for (const auto& [menuiserie, tarif] : ToutesLesLignes()) {
        if (SansPoseur(Tarif(menuiserie, tarif))) {
            sansPoseur.append({menuiserie, tarif});
            lignes.append({Tarif(menuiserie, tarif).GetId(), idPoseur});
        }
    }
    const QHash<TDonneesChiffrage::LignePoseur, double> prix = donnees.PrixPoseurs(lignes);
    Modifier(QStringLiteral("poseur « %1 » donné aux lignes sans poseur").arg(nom), [&] {
        ChangerLignes(sansPoseur, [&](TTarif& valeurs, int i) {
            valeurs.SetPoseurPrix(prix.value(lignes[i], 0.0));
            valeurs.SetPoseurId(idPoseur);
            valeurs.SetPoseurNom(nom);
        });
    });
}

void TSessionChiffrage::ChoisirPoseur(int menuiserie, int tarif, const QString& idPoseur, const Question& question)
{
    // Named by the installer given to the line.
    Modifier(QString(), [&] {
        const QString nom = AffecterPoseur(menuiserie, tarif, idPoseur);
        if (NombreTarifsSansPoseur() > 0
            && question(QStringLiteral("Voulez-vous affecter le poseur à tous les tarifs de pose ?")))
            AffecterPoseurATous(idPoseur, nom);
    });
}

QString TSessionChiffrage::NomPoseur(int menuiserie, int tarif) const
{
    const QString& cle = Tarif(menuiserie, tarif).GetPoseurId();
    return cle.isEmpty() ? QString() : donnees.LirePoseur(cle).nom;
}

// ---------------------------------------------------------------------------
// Hardware

void TSessionChiffrage::SetQuincaillerieIncluse(int menuiserie, int index, bool incluse)
{
    const QString texte = incluse ? QStringLiteral("quincaillerie comptée dans la ligne « %1 »")
                                  : QStringLiteral("quincaillerie ôtée de la ligne « %1 »");
    Modifier(texte.arg(NomLigne(menuiserie, index)), [&] {
        ChangerLignes({{menuiserie, index}}, [&](TTarif& valeurs, int) { valeurs.SetQuincaillerieIncluse(incluse); });
    });
}

void TSessionChiffrage::RemplacerQuincailleries(int menuiserie, int tarif, const TQuincailleries& quincailleries)
{
    Modifier(QStringLiteral("quincaillerie de la ligne « %1 »").arg(NomLigne(menuiserie, tarif)), [&] {
        Faire(std::make_unique<ChangementQuincailleries>(menuiserie, tarif,
                                                         Tarif(menuiserie, tarif).GetQuincailleries(), quincailleries));
    });
}

void TSessionChiffrage::RemplacerQuincailleriesGlobales(const TQuincailleries& quincailleries)
{
    Modifier(QStringLiteral("quincaillerie globale"), [&] {
        Faire(std::make_unique<ChangementQuincailleries>(-1, -1, quincailleriesGlobales, quincailleries));
    });
}

TSessionChiffrage::Actualisation TSessionChiffrage::ActualiserPrix()
{
    // The database may be a network away: every price is read in a few
    // statements for the whole quote, not a few per line.
    const QVector<std::pair<int, int>> lignes = ToutesLesLignes();
    QStringList idTarifs;
    QVector<TDonneesChiffrage::LignePoseur> lignesPoseurs;
    // The hardware lists as the catalogue has them now: the lines' in quote
    // order, then the quote-wide one.
    std::vector<TQuincailleries> quincailleries(static_cast<std::size_t>(lignes.size()) + 1);
    QVector<TQuincailleries*> listes;
    for (int i = 0; i < lignes.size(); ++i) {
        const TTarif& tarif = Tarif(lignes[i].first, lignes[i].second);
        idTarifs << tarif.GetId();
        if (!tarif.GetPoseurId().isEmpty())
            lignesPoseurs.append({tarif.GetId(), tarif.GetPoseurId()});
        quincailleries[static_cast<std::size_t>(i)].CopierDepuis(tarif.GetQuincailleries());
        listes << &quincailleries[static_cast<std::size_t>(i)];
    }
    quincailleries.back().CopierDepuis(quincailleriesGlobales);
    listes << &quincailleries.back();
    const QHash<QString, double> generaux = donnees.PrixGeneraux(idTarifs);
    const QHash<TDonneesChiffrage::LignePoseur, double> desPoseurs = donnees.PrixPoseurs(lignesPoseurs);
    const QVector<int> changees = donnees.ActualiserQuincailleries(listes);

    Actualisation changes;
    Modifier(QStringLiteral("actualisation des prix"), [&] {
        ChangerLignes(lignes, [&](TTarif& valeurs, int) {
            const auto prix = generaux.constFind(valeurs.GetId());
            if (prix != generaux.constEnd() && *prix != valeurs.GetPrix()) {
                valeurs.SetPrix(*prix);
                ++changes.prixVente;
            }
            // The installer's own row, as when he was given the line: the
            // row the line points at is the general one, whose price is the
            // sale price, not his.
            const auto sien = desPoseurs.constFind({valeurs.GetId(), valeurs.GetPoseurId()});
            if (sien != desPoseurs.constEnd() && *sien != valeurs.GetPoseurPrix()) {
                valeurs.SetPoseurPrix(*sien);
                ++changes.prixPoseur;
            }
        });
        for (int i = 0; i <= lignes.size(); ++i) {
            if (changees[i] == 0)
                continue;
            changes.quincailleries += changees[i];
            const bool globale = i == lignes.size();
            const TQuincailleries& avant = globale ? quincailleriesGlobales
                                                   : Tarif(lignes[i].first, lignes[i].second).GetQuincailleries();
            Faire(std::make_unique<ChangementQuincailleries>(globale ? -1 : lignes[i].first,
                                                             globale ? -1 : lignes[i].second, avant,
                                                             quincailleries[static_cast<std::size_t>(i)]));
        }
    });
    return changes;
}
