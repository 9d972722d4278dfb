#pragma once

#include <cstddef>

// The results window the module carries among its resources: a report text
// field with "OK" and "Save As..." buttons. No code of the module shows it.
struct DialogResource {
    unsigned identifier;
    unsigned language;
    const unsigned char* bytes; // a classic (not extended) dialog template
    size_t size;
};

const DialogResource& ResultsDialogResource();
