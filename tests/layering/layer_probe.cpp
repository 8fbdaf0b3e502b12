// Compiled in the context of one layer's library with the header named by
// LAYER_PROBE_HEADER: a header of a lower layer compiles, one of a higher
// layer must not be found (see cmake/Layers.cmake).
#include LAYER_PROBE_HEADER
