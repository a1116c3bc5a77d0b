-- Bounded queue of integers.
with Ada.Text_IO; use Ada.Text_IO;

procedure Queue_Demo is
   Sep   : constant Character := '-';   -- separator
   Dash  : constant String := "--";
   Line  : constant String := "a" & '-' & '-' & "b";
   Count : Natural := 0;  ------ count of items
begin
   --  indented comment
   Put_Line ("Queue -- demo");
   Put_Line (Integer'Image (Count)); -- attribute apostrophe hides this
		
end Queue_Demo;
