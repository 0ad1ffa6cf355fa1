#pragma once
// The identity each program hands to the shared code.

#include <QString>

namespace toolkit {

struct Product {
    QString name;        // "Corvix", "Pellor", "Ambrel 2005": caption, settings section, file names
    QString description; // one line for the about dialog
    int major = 0;
    int minor = 0;
    int revision = 0;

    // The name up to its first blank ("Ambrel" for "Ambrel 2005").
    QString word() const;
};

} // namespace toolkit
