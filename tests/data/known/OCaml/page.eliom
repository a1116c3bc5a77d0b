(* A page of the web service. *)
let%server greeting = "Hello (* not a comment *)"

(* The handler answers

   every GET request. *)
let%server handler () () =
  Lwt.return (Eliom_content.Html.F.txt greeting) (* plain text *)

let () =
  Eliom_registration.Html.register_service ~path:["hello"] handler
