// Configuration of the demo service.
local port = 8080;

/* The name is shared

   by every target. */
{
  name: 'demo',  # short name
  url: "http://localhost:%d" % port,
  path: @"C:\temp\",
  motd: |||
    // kept as text
  |||,
}
