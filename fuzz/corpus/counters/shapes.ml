(* Geometry helpers.

   Areas of simple shapes. *)
let pi = 4.0 *. atan 1.0

let area_circle r = pi *. r *. r (* r is the radius *)
let area_square s = s *. s
let label = "(* not a comment *)"
(* single *) let unused = 0

let describe shape =
  match shape with (* dispatch
  on the kind *)
  | `Circle r -> area_circle r
  | `Square s -> area_square s
let mul = ( * )
