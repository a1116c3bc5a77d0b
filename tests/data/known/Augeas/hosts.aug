(* Lens for the hosts file. *)
module Hosts =
  autoload xfm

(* Fields are separated

   by blanks. *)
  let sep_tab = Sep.tab
  let eol = Util.eol
  let comment = Util.comment (* shared *)
  let word = /[^# \t\n]+/
  let label = "(* not a comment *)"

  let record = [ seq "host" . [ label "ipaddr" . store word ] . eol ]
  let lns = ( Util.empty | comment | record ) *
  let xfm = transform lns (incl "/etc/hosts")
