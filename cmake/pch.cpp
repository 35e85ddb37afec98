// Compiles the shared precompiled header once; the libraries reuse it.
