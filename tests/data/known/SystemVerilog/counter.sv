// A counter with synchronous reset.
module counter #(parameter int W = 8) (
  input  logic         clk,
  input  logic         rst, // active high
  output logic [W-1:0] q
);

/* Counts up on every rising edge;

   wraps at the top. */
  always_ff @(posedge clk) begin
    if (rst) q <= '0;
    else     q <= q + 1'b1; /* wrap */
  end

  initial $display("counter // W=%0d", W);
endmodule
