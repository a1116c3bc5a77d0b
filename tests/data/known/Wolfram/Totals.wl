(* Sums the line counts of a project. *)
BeginPackage["Kordel`"]

Total::usage = "Total[rows] sums the code lines (* not a comment *)."
Total::doc = "two lines
(* still the string *)"

(* Comments nest in the Wolfram Language:
   (* inner *)

   outer ends here. *)
Begin["`Private`"]
Total[rows_List] := Plus @@ (#["code"] & /@ rows) (* code only *)
End[]

EndPackage[]
