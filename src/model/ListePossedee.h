#pragma once

#include <algorithm>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

// An ordered list that owns its elements. Elements are held by pointer, so a
// reference to an element stays valid while others are added or removed;
// iterating gives the elements themselves.
template <class T>
class ListePossedee
{
    using Conteneur = std::vector<std::unique_ptr<T>>;

    template <class Base, class Valeur>
    class Iterateur
    {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::remove_const_t<Valeur>;
        using difference_type = std::ptrdiff_t;
        using pointer = Valeur*;
        using reference = Valeur&;

        Iterateur() = default;
        explicit Iterateur(Base position) : position(position) {}
        reference operator*() const { return **position; }
        pointer operator->() const { return position->get(); }
        Iterateur& operator++() { ++position; return *this; }
        Iterateur operator++(int) { Iterateur copie = *this; ++position; return copie; }
        bool operator==(const Iterateur& autre) const { return position == autre.position; }

    private:
        Base position{};
    };

public:
    using iterator = Iterateur<typename Conteneur::iterator, T>;
    using const_iterator = Iterateur<typename Conteneur::const_iterator, const T>;

    ListePossedee() = default;
    ListePossedee(ListePossedee&&) noexcept = default;
    ListePossedee& operator=(ListePossedee&&) noexcept = default;
    ListePossedee(const ListePossedee&) = delete;
    ListePossedee& operator=(const ListePossedee&) = delete;

    T& Ajouter(std::unique_ptr<T> element)
    {
        if (!element)
            throw std::invalid_argument("ListePossedee::Ajouter : aucun élément à ajouter");
        elements.push_back(std::move(element));
        return *elements.back();
    }

    // Puts the element at that index (the end when it is the number of elements).
    T& Inserer(int index, std::unique_ptr<T> element)
    {
        if (!element)
            throw std::invalid_argument("ListePossedee::Inserer : aucun élément à insérer");
        if (index < 0 || index > Nombre())
            throw std::out_of_range("ListePossedee::Inserer : indice hors de la liste");
        return **elements.insert(elements.begin() + index, std::move(element));
    }

    // Takes the element at that index out of the list, for the caller to keep.
    std::unique_ptr<T> Extraire(int index)
    {
        if (index < 0 || index >= Nombre())
            throw std::out_of_range("ListePossedee::Extraire : indice hors de la liste");
        std::unique_ptr<T> element = std::move(elements[static_cast<std::size_t>(index)]);
        elements.erase(elements.begin() + index);
        return element;
    }

    int Nombre() const { return static_cast<int>(elements.size()); }
    bool EstVide() const { return elements.empty(); }

    T& operator[](int index) { return *elements.at(static_cast<std::size_t>(index)); }
    const T& operator[](int index) const { return *elements.at(static_cast<std::size_t>(index)); }

    // -1 when the element is not in the list.
    int IndexDe(const T* element) const
    {
        const auto trouve = std::find_if(elements.begin(), elements.end(),
                                         [element](const auto& e) { return e.get() == element; });
        return trouve == elements.end() ? -1 : static_cast<int>(trouve - elements.begin());
    }

    // Destroys the element at that index.
    void Supprimer(int index)
    {
        if (index < 0 || index >= Nombre())
            throw std::out_of_range("ListePossedee::Supprimer : indice hors de la liste");
        elements.erase(elements.begin() + index);
    }

    // Destroys that element; nothing happens when it is not in the list.
    void Retirer(const T* element)
    {
        const int index = IndexDe(element);
        if (index >= 0)
            elements.erase(elements.begin() + index);
    }

    void Vider() { elements.clear(); }
    void Reserver(int nombre) { elements.reserve(static_cast<std::size_t>(nombre)); }

    iterator begin() { return iterator(elements.begin()); }
    iterator end() { return iterator(elements.end()); }
    const_iterator begin() const { return const_iterator(elements.cbegin()); }
    const_iterator end() const { return const_iterator(elements.cend()); }

private:
    Conteneur elements;
};
