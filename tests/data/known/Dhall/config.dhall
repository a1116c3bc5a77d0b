-- Configuration of the demo service.
let Port = Natural

{- Block comments in Dhall
   {- nest -}

   and end here. -}
let defaultPort : Port = 8080

in  { name = "demo -- service"
    , port = defaultPort -- default
    , motd = ''
        -- kept as text
        ''
    }
