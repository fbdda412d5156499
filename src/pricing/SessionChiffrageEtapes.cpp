// The steps of the undo stack, and the few places where the session's quote
// is written: each change, made, undone or redone, goes through them and
// says what changed.

#include "pricing/SessionChiffrageEtapes.h"

#include <algorithm>

namespace {

bool MemeTva(const TTva& a, const TTva& b)
{
    return a.GetTypeTva() == b.GetTypeTva() && a.GetLibelle() == b.GetLibelle() && a.GetValeur() == b.GetValeur();
}

bool MemePose(const TPose& a, const TPose& b)
{
    return a.GetId() == b.GetId() && a.GetLibelle() == b.GetLibelle() && a.GetCodeExport() == b.GetCodeExport()
           && MemeTva(a.GetTva(), b.GetTva());
}

template <class Valeur>
bool MemesOptions(const TPoseLivraison& a, const TPoseLivraison& b, Valeur (TPoseLivraison::*valeur)(TPoseLivraison::OptionLivraison) const)
{
    return std::all_of(TPoseLivraison::kOptions.begin(), TPoseLivraison::kOptions.end(),
                       [&](auto option) { return (a.*valeur)(option) == (b.*valeur)(option); });
}

// The kind, its VAT, the surcharges' prices and export codes: all but the choices.
bool MemePoseEtPrix(const TPoseLivraison& a, const TPoseLivraison& b)
{
    return MemePose(a, b) && MemesOptions(a, b, &TPoseLivraison::GetPrix)
           && MemesOptions(a, b, &TPoseLivraison::GetCodeExportOption);
}

bool MemePoseLivraison(const TPoseLivraison& a, const TPoseLivraison& b)
{
    return MemePoseEtPrix(a, b) && MemesOptions(a, b, &TPoseLivraison::GetChoix);
}

bool MemeQuincaillerie(const TQuincaillerie& a, const TQuincaillerie& b)
{
    return a.GetId() == b.GetId() && a.GetLibelle() == b.GetLibelle() && a.GetLibelle2() == b.GetLibelle2()
           && a.GetTarifAchat() == b.GetTarifAchat() && a.GetTarifVente() == b.GetTarifVente()
           && a.GetNbPieces() == b.GetNbPieces() && a.GetNbPiecesMl() == b.GetNbPiecesMl()
           && a.GetQuantite() == b.GetQuantite() && a.GetSecable() == b.GetSecable()
           && a.GetCodeExport() == b.GetCodeExport();
}

bool MemesQuincailleries(const TQuincailleries& a, const TQuincailleries& b)
{
    return a.Nombre() == b.Nombre() && std::equal(a.begin(), a.end(), b.begin(), MemeQuincaillerie);
}

} // namespace

void CopierValeurs(const TTarif& source, TTarif& cible)
{
    cible.SetId(source.GetId());
    cible.SetLibelle(source.GetLibelle());
    cible.SetPrix(source.GetPrix());
    cible.SetCodeExport(source.GetCodeExport());
    cible.SetPoseurId(source.GetPoseurId());
    cible.SetPoseurNom(source.GetPoseurNom());
    cible.SetPoseurPrix(source.GetPoseurPrix());
    cible.SetPoseurSiret(source.GetPoseurSiret());
    cible.SetPoseurRge(source.GetPoseurRge());
    cible.AffecterTva(source.GetTva());
    cible.SetQuincaillerieIncluse(source.GetQuincaillerieIncluse());
}

std::unique_ptr<TTarif> ValeursDe(const TTarif& tarif)
{
    auto valeurs = std::make_unique<TTarif>();
    CopierValeurs(tarif, *valeurs);
    return valeurs;
}

bool MemesValeurs(const TTarif& a, const TTarif& b)
{
    return a.GetId() == b.GetId() && a.GetLibelle() == b.GetLibelle() && a.GetPrix() == b.GetPrix()
           && a.GetCodeExport() == b.GetCodeExport() && a.GetPoseurId() == b.GetPoseurId()
           && a.GetPoseurNom() == b.GetPoseurNom() && a.GetPoseurPrix() == b.GetPoseurPrix()
           && a.GetPoseurSiret() == b.GetPoseurSiret() && a.GetPoseurRge() == b.GetPoseurRge()
           && MemeTva(a.GetTva(), b.GetTva()) && a.GetQuincaillerieIncluse() == b.GetQuincaillerieIncluse();
}

// ---------------------------------------------------------------------------
// Changes

TSessionChiffrage::ChangementDevis::ChangementDevis(const TPoseLivraison& poseAvant, bool cotesAvant,
                                                    const TPoseLivraison& poseApres, bool cotesApres)
    : poses{poseAvant, poseApres}
    , cotes{cotesAvant, cotesApres}
{
}

void TSessionChiffrage::ChangementDevis::Appliquer(TSessionChiffrage& session, bool apres)
{
    session.EcrireDevis(poses[apres], cotes[apres]);
}

bool TSessionChiffrage::ChangementDevis::EstNul() const
{
    return cotes[0] == cotes[1] && MemePoseLivraison(poses[0], poses[1]);
}

void TSessionChiffrage::ChangementPoses::Ajouter(int menuiserie, const TPose& avant, const TPose& apres)
{
    if (!MemePose(avant, apres))
        poses.push_back({menuiserie, {avant, apres}});
}

void TSessionChiffrage::ChangementPoses::Appliquer(TSessionChiffrage& session, bool apres)
{
    for (const Pose& pose : poses)
        session.EcrirePose(pose.menuiserie, pose.etats[apres]);
}

void TSessionChiffrage::ChangementLignes::Ajouter(int menuiserie, int tarif, std::unique_ptr<TTarif> avant,
                                                  std::unique_ptr<TTarif> apres)
{
    if (!MemesValeurs(*avant, *apres))
        lignes.push_back({menuiserie, tarif, {std::move(avant), std::move(apres)}});
}

void TSessionChiffrage::ChangementLignes::Appliquer(TSessionChiffrage& session, bool apres)
{
    for (const Ligne& ligne : lignes)
        session.EcrireValeurs(ligne.menuiserie, ligne.tarif, *ligne.etats[apres]);
}

TSessionChiffrage::ChangementQuincailleries::ChangementQuincailleries(int menuiserie, int tarif,
                                                                      const TQuincailleries& avant,
                                                                      const TQuincailleries& apres)
    : menuiserie(menuiserie)
    , tarif(tarif)
{
    listes[0].CopierDepuis(avant);
    listes[1].CopierDepuis(apres);
}

void TSessionChiffrage::ChangementQuincailleries::Appliquer(TSessionChiffrage& session, bool apres)
{
    session.EcrireQuincailleries(menuiserie, tarif, listes[apres]);
}

bool TSessionChiffrage::ChangementQuincailleries::EstNul() const
{
    return MemesQuincailleries(listes[0], listes[1]);
}

TSessionChiffrage::ChangementStructure::ChangementStructure(int menuiserie, int premier,
                                                            std::vector<std::unique_ptr<TTarif>> lignes)
    : menuiserie(menuiserie)
    , premier(premier)
    , nombre(static_cast<int>(lignes.size()))
    , insertion(true)
    , dehors(std::move(lignes))
{
}

TSessionChiffrage::ChangementStructure::ChangementStructure(int menuiserie, int premier, int nombre)
    : menuiserie(menuiserie)
    , premier(premier)
    , nombre(nombre)
    , insertion(false)
{
}

void TSessionChiffrage::ChangementStructure::Appliquer(TSessionChiffrage& session, bool apres)
{
    // The lines are in the quote after an insertion and before a removal.
    if (apres == insertion)
        session.InsererLignes(menuiserie, premier, dehors);
    else
        session.ExtraireLignes(menuiserie, premier, nombre, dehors);
}

// ---------------------------------------------------------------------------
// Steps

TSessionChiffrage::Etape::Etape(TSessionChiffrage& session, const QString& texte)
    : QUndoCommand(texte)
    , session(session)
    , positions{{session.indexMenuiserie, session.indexTarif}, {session.indexMenuiserie, session.indexTarif}}
{
}

void TSessionChiffrage::Etape::Clore()
{
    positions[1] = {session.indexMenuiserie, session.indexTarif};
}

void TSessionChiffrage::Etape::undo()
{
    for (auto changement = changements.rbegin(); changement != changements.rend(); ++changement)
        (*changement)->Appliquer(session, false);
    session.Placer(positions[0].first, positions[0].second);
    emit session.TotauxChanges();
}

void TSessionChiffrage::Etape::redo()
{
    if (std::exchange(faite, false))
        return;
    for (const auto& changement : changements)
        changement->Appliquer(session, true);
    session.Placer(positions[1].first, positions[1].second);
    emit session.TotauxChanges();
}

// ---------------------------------------------------------------------------
// The session's side

void TSessionChiffrage::Faire(std::unique_ptr<Changement> changement)
{
    Q_ASSERT(etapeOuverte);
    if (changement->EstNul())
        return;
    changement->Appliquer(*this, true);
    etapeOuverte->Ajouter(std::move(changement));
}

void TSessionChiffrage::Placer(int menuiserie, int tarif)
{
    const int nouvelle = menuiserie >= 0 && menuiserie < menuiseries.Nombre() ? menuiserie : -1;
    const bool autre = nouvelle != indexMenuiserie;
    indexMenuiserie = nouvelle;
    indexTarif = nouvelle >= 0 && tarif >= 0 && tarif < menuiseries[nouvelle].GetTarifs().Nombre() ? tarif : -1;
    if (autre)
        emit MenuiserieCouranteChangee();
    emit TarifCourantChange();
}

void TSessionChiffrage::EcrireDevis(const TPoseLivraison& pose, bool cotes)
{
    // Only what changed is shown again: a price being typed stays while a
    // box is ticked.
    const bool autrePose = !MemePoseEtPrix(poseGlobale, pose);
    const bool autresOptions = !MemesOptions(poseGlobale, pose, &TPoseLivraison::GetChoix);
    const bool autresCotes = cotes != priseDeCote;
    poseGlobale = pose;
    priseDeCote = cotes;
    if (autrePose)
        emit PoseGlobaleChangee();
    if (autresOptions)
        emit OptionsLivraisonChangees();
    if (autresCotes)
        emit PriseDeCoteChangee();
}

void TSessionChiffrage::EcrirePose(int menuiserie, const TPose& pose)
{
    Menuiserie(menuiserie).GetPose().AffecterPose(pose);
    emit MenuiserieChangee(menuiserie);
}

void TSessionChiffrage::EcrireValeurs(int menuiserie, int tarif, const TTarif& valeurs)
{
    CopierValeurs(valeurs, Tarif(menuiserie, tarif));
    emit TarifChange(menuiserie, tarif);
}

void TSessionChiffrage::EcrireQuincailleries(int menuiserie, int tarif, const TQuincailleries& quincailleries)
{
    if (menuiserie < 0) {
        quincailleriesGlobales.CopierDepuis(quincailleries);
        emit QuincailleriesGlobalesChangees();
        return;
    }
    Tarif(menuiserie, tarif).GetQuincailleries().CopierDepuis(quincailleries);
    emit TarifChange(menuiserie, tarif);
}

void TSessionChiffrage::InsererLignes(int menuiserie, int premier, std::vector<std::unique_ptr<TTarif>>& lignes)
{
    const int nombre = static_cast<int>(lignes.size());
    emit LignesAInserer(menuiserie, premier, premier + nombre - 1);
    TTarifs& tarifs = Menuiserie(menuiserie).GetTarifs();
    for (int i = 0; i < nombre; ++i)
        tarifs.Inserer(premier + i, std::move(lignes[static_cast<std::size_t>(i)]));
    lignes.clear();
    // The current line stays the same line.
    if (menuiserie == indexMenuiserie && indexTarif >= premier)
        indexTarif += nombre;
    emit LignesInserees(menuiserie, premier, premier + nombre - 1);
}

void TSessionChiffrage::ExtraireLignes(int menuiserie, int premier, int nombre,
                                       std::vector<std::unique_ptr<TTarif>>& lignes)
{
    emit LignesASupprimer(menuiserie, premier, premier + nombre - 1);
    TTarifs& tarifs = Menuiserie(menuiserie).GetTarifs();
    lignes.clear();
    for (int i = 0; i < nombre; ++i)
        lignes.push_back(tarifs.Extraire(premier));
    if (menuiserie == indexMenuiserie && indexTarif >= premier)
        indexTarif = indexTarif < premier + nombre ? -1 : indexTarif - nombre;
    emit LignesSupprimees(menuiserie, premier, premier + nombre - 1);
}
