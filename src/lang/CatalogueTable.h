#pragma once

namespace lang {

// One entry of the message catalogue: its key and its Russian default text.
struct CatalogueEntry
{
    const char* key;
    const char* defaultText; // UTF-8
};

// Every entry in catalogue order; rstrClient and vrstrEditTranslation serve two entries each.
extern const CatalogueEntry kCatalogue[];
extern const int kCatalogueSize;

} // namespace lang
