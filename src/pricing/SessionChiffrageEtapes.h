#pragma once

// The steps of the pricing session's undo stack, seen by the session's own
// sources only. A rule makes its changes as Changement objects: each holds
// the part of the quote it touches as it was and as it becomes, computed
// before it is applied (the database is asked then, and never again), and
// sets it either way. One user action is one Etape of such changes.

#include "pricing/SessionChiffrage.h"

#include "model/Tarif.h"

#include <QUndoCommand>
#include <vector>

class TSessionChiffrage::Changement
{
public:
    virtual ~Changement() = default;
    // Sets the quote as it is after the change (true) or as it was before.
    virtual void Appliquer(TSessionChiffrage& session, bool apres) = 0;
    // True when it changes nothing: it is not kept.
    virtual bool EstNul() const = 0;
};

// The quote-wide kind with its delivery, and "Prise de côte".
class TSessionChiffrage::ChangementDevis final : public Changement
{
public:
    ChangementDevis(const TPoseLivraison& poseAvant, bool cotesAvant, const TPoseLivraison& poseApres, bool cotesApres);
    void Appliquer(TSessionChiffrage& session, bool apres) override;
    bool EstNul() const override;

private:
    TPoseLivraison poses[2];
    bool cotes[2];
};

// The kinds of some items.
class TSessionChiffrage::ChangementPoses final : public Changement
{
public:
    void Ajouter(int menuiserie, const TPose& avant, const TPose& apres);
    void Appliquer(TSessionChiffrage& session, bool apres) override;
    bool EstNul() const override { return poses.empty(); }

private:
    struct Pose
    {
        int menuiserie;
        TPose etats[2];
    };
    std::vector<Pose> poses;
};

// The values of some lines (their hardware aside).
class TSessionChiffrage::ChangementLignes final : public Changement
{
public:
    void Ajouter(int menuiserie, int tarif, std::unique_ptr<TTarif> avant, std::unique_ptr<TTarif> apres);
    void Appliquer(TSessionChiffrage& session, bool apres) override;
    bool EstNul() const override { return lignes.empty(); }

private:
    struct Ligne
    {
        int menuiserie;
        int tarif;
        std::unique_ptr<TTarif> etats[2];
    };
    std::vector<Ligne> lignes;
};

// The hardware of a line, or the quote-wide hardware (menuiserie -1).
class TSessionChiffrage::ChangementQuincailleries final : public Changement
{
public:
    ChangementQuincailleries(int menuiserie, int tarif, const TQuincailleries& avant, const TQuincailleries& apres);
    void Appliquer(TSessionChiffrage& session, bool apres) override;
    bool EstNul() const override;

private:
    int menuiserie;
    int tarif;
    TQuincailleries listes[2];
};

// Lines coming into an item, or going out of it: the change holds them
// while they are out of the quote, so that they come back as they were.
class TSessionChiffrage::ChangementStructure final : public Changement
{
public:
    // Lines put in at `premier`.
    ChangementStructure(int menuiserie, int premier, std::vector<std::unique_ptr<TTarif>> lignes);
    // `nombre` lines taken out from `premier`.
    ChangementStructure(int menuiserie, int premier, int nombre);
    void Appliquer(TSessionChiffrage& session, bool apres) override;
    bool EstNul() const override { return nombre == 0; }

private:
    int menuiserie;
    int premier;
    int nombre;
    bool insertion;
    std::vector<std::unique_ptr<TTarif>> dehors;
};

// One step of the stack: the changes of one user action, with the item and
// line shown before and after it.
class TSessionChiffrage::Etape final : public QUndoCommand
{
public:
    Etape(TSessionChiffrage& session, const QString& texte);
    void Ajouter(std::unique_ptr<Changement> changement) { changements.push_back(std::move(changement)); }
    bool EstVide() const { return changements.empty(); }
    // The item and line now shown are those after the step.
    void Clore();

    void undo() override;
    // The first time the step is already done: it was made before being pushed.
    void redo() override;

private:
    TSessionChiffrage& session;
    std::vector<std::unique_ptr<Changement>> changements;
    std::pair<int, int> positions[2];
    bool faite = true;
};

template <class Action>
void TSessionChiffrage::Modifier(const QString& texte, Action&& action)
{
    if (etapeOuverte) {
        // Part of the step being made, which the first of them names.
        if (etapeOuverte->text().isEmpty())
            etapeOuverte->setText(texte);
        action();
        return;
    }
    auto etape = std::make_unique<Etape>(*this, texte);
    etapeOuverte = etape.get();
    try {
        action();
    } catch (...) {
        // Nothing half done stays: what the step had changed is put back.
        etapeOuverte = nullptr;
        etape->undo();
        throw;
    }
    etapeOuverte = nullptr;
    if (etape->EstVide())
        return;
    etape->Clore();
    emit TotauxChanges();
    pile.push(etape.release());
}

// Copies the values of a line (everything but its hardware).
void CopierValeurs(const TTarif& source, TTarif& cible);
std::unique_ptr<TTarif> ValeursDe(const TTarif& tarif);
bool MemesValeurs(const TTarif& a, const TTarif& b);
