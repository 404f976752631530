#include "speech/PocketsphinxLibrary.h"

Expected<const PocketsphinxLibrary *, QString> PocketsphinxLibrary::open()
{
    static SharedLibrary library{{"pocketsphinx", 3}, {"sphinxbase", 3}};
    static const PocketsphinxLibrary functions = [] {
        PocketsphinxLibrary found;
#define CUEWRIGHT_POCKETSPHINX_FUNCTION(name) library.resolve(found.name, #name);
        CUEWRIGHT_POCKETSPHINX_FUNCTIONS(CUEWRIGHT_POCKETSPHINX_FUNCTION)
#undef CUEWRIGHT_POCKETSPHINX_FUNCTION
        return found;
    }();
    if (!library.isLoaded())
        return tr("The speech recogniser's library, pocketsphinx, could not be loaded.\n%1").arg(library.errorString());
    return &functions;
}
