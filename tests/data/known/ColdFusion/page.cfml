<!--- Greeting page

      for the intranet --->
<cfset name = "World">
<cfset tag = "<!-- not a comment -->">
<cfset note = '<!-- single quoted -->'>
<cfoutput>
  <h1>Hello, #name#!</h1> <!--- inline note --->

<!--- one line --->
<!-->
</cfoutput>
-->
