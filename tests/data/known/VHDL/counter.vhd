-- A counter with synchronous reset.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity counter is
  port (clk, rst : in std_logic;
        q        : out unsigned(7 downto 0)); -- the count
end entity;

/* VHDL-2008 block comment:

   counts up on every rising edge. */
architecture rtl of counter is
  signal n : unsigned(7 downto 0) := (others => '0');
begin
  process (clk) begin
    if rising_edge(clk) then
      if rst = '1' then n <= (others => '0'); else n <= n + 1; end if;
    end if;
  end process;
  q <= n; -- output
  assert true report "-- not a comment" severity note;
end architecture;
