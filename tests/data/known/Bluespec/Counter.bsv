// A counter with an increment method.
package Counter;

interface Counter_ifc;
   method Action incr(); // by one
   method Bit#(8) read();
endinterface

/* The register starts at zero

   and wraps at 255. */
module mkCounter(Counter_ifc);
   Reg#(Bit#(8)) value <- mkReg(0);
   rule show; $display("value // %d", value); endrule
   method Action incr(); value <= value + 1; endmethod
   method Bit#(8) read(); return value; endmethod /* current */
endmodule
endpackage
