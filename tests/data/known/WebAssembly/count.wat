;; Counts the line feeds in memory.
(module
  (memory (export "mem") 1)
  (; A block comment
     (; nested, as the text format allows ;)

     still a comment ;)
  (func (export "count_lf") (param $p i32) (param $n i32) (result i32)
    (local $c i32) ;; the count
    (block $done
      (loop $next
        (br_if $done (i32.eqz (local.get $n)))
        (if (i32.eq (i32.load8_u (local.get $p)) (i32.const 10))
          (then (local.set $c (i32.add (local.get $c) (i32.const 1)))))
        (local.set $p (i32.add (local.get $p) (i32.const 1)))
        (local.set $n (i32.sub (local.get $n) (i32.const 1)))
        (br $next)))
    (local.get $c)) (; result ;)
  (data (i32.const 0) ";; not a comment"))
