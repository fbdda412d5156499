#pragma once

// What became of the save of a record that a window read earlier: several
// copies of the program may share the database, and a save writes only over
// the values its window read.
enum class Enregistrement {
    Fait,
    ModifieAilleurs,  // another copy changed the record since: nothing written
    SupprimeAilleurs, // another copy deleted it (or it was gone when read): nothing written
};
