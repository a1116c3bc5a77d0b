// A counter with synchronous reset.
module counter (
  input  wire       clk,
  input  wire       rst, // active high
  output reg  [7:0] q
);

/* Counts up on every rising edge;

   wraps at 255. */
  always @(posedge clk)
    if (rst) q <= 8'd0;
    else     q <= q + 8'd1; /* wrap */

  initial $display("counter // starts");
endmodule
