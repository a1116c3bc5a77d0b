<#-- Page of one product. -->
<#assign title = product.name>
<html>
<head><title>${title}</title></head>

<#--
  The price is shown

  with its currency.
-->
<body>
  <p>${product.price?string.currency}</p> <#-- formatted -->
  <#list product.tags as tag>
    <span>${tag}</span>
  </#list>
  [#-- square-bracket comment --]
</body>
</html>
