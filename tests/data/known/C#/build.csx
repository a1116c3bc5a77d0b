// Build script of the demo.
#r "nuget: Newtonsoft.Json, 13.0.3"
using Newtonsoft.Json;

/* Prints the settings

   as JSON. */
var settings = new { Name = "demo", Verbose = true };
var text = JsonConvert.SerializeObject(settings); // compact
Console.WriteLine(text);
Console.WriteLine("done // ok");
