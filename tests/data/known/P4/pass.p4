// Forwards every packet to port 1.
#include <core.p4>
#include <v1model.p4>

/* No headers are parsed;

   the packet passes through. */
struct headers_t { }
struct meta_t { }

control Ingress(inout headers_t h, inout meta_t m,
                inout standard_metadata_t sm) {
    apply { sm.egress_spec = 1; } // port 1
}
